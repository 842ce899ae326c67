#pragma once

#include "device/PProtocol.h"

class QFile;

// Moves a panel file as raw bytes: sends one through the interface, or stores
// what a peer sends until it closes the connection.
class PFileProtocol : public PProtocol
{
    Q_OBJECT
public:
    // Bytes read and written per step when sending.
    static constexpr int ChunkSize = 4096;

    explicit PFileProtocol(QObject *parent = nullptr);
    ~PFileProtocol() override;

    bool sendFile(const QString &path) override;
    // Starts a receive: the bytes go to path + "t" until the connection
    // closes, then replace path (an empty transfer leaves path untouched).
    bool receiveFile(const QString &path) override;
    bool receive(const QByteArray &data) override;
    QString name() const override;

    bool isReceiving() const { return m_pFile != nullptr; }

public slots:
    // Ends a receive: closes the file and puts it in place.
    void connectionClose();

signals:
    // A receive has ended; stored tells whether a non-empty file replaced the target.
    void fileReceived(bool stored);

private:
    QFile *m_pFile = nullptr;
    QString m_targetPath;
    bool m_writeFailed = false;
};
