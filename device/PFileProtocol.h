#pragma once

#include "device/PProtocol.h"

#include <QTimer>

#include <functional>

class PTransferProgress;
class QFile;

// Moves a panel file as raw bytes: sends one through the interface, or stores
// what a peer sends until it closes the connection.
class PFileProtocol : public PProtocol
{
    Q_OBJECT
public:
    // Bytes read and written per step when sending.
    static constexpr int ChunkSize = 4096;
    // The most a received file may hold: a panel archive is far smaller.
    static constexpr qint64 DefaultMaxReceiveSize = 64 * 1024 * 1024;
    // A sender that sends nothing for this long is cut off.
    static constexpr int DefaultIdleTimeout = 30000;

    // Decides whether a received file may replace the earlier one; fills in
    // the reason when it may not.
    using Validator = std::function<bool(const QString &path, QString *reason)>;

    explicit PFileProtocol(QObject *parent = nullptr);
    ~PFileProtocol() override;

    bool sendFile(const QString &path) override;
    // Starts a receive: the bytes go to path + "t" until the connection
    // closes, then replace path (an empty transfer leaves path untouched).
    bool receiveFile(const QString &path) override;
    bool receive(const QByteArray &data) override;
    QString name() const override;

    bool isReceiving() const { return m_pFile != nullptr; }
    // Not owned; null sends without showing anything.
    void setProgress(PTransferProgress *progress) { m_pProgress = progress; }
    void setValidator(const Validator &validator) { m_validator = validator; }
    void setMaxReceiveSize(qint64 bytes) { m_maxReceiveSize = bytes; }
    void setIdleTimeout(int msecs) { m_idleTimer.setInterval(msecs); }
    // Why the last receive was refused; empty when it was stored or nothing came.
    QString refusal() const { return m_refusal; }
    // True when the last send was stopped by the user.
    bool wasAborted() const { return m_aborted; }

public slots:
    // Ends a receive: closes the file and puts it in place.
    void connectionClose();
    // Ends a receive the user gave up on: whatever arrived is thrown away.
    void cancelReceive();
    // The sender is there: from now on it must keep sending.
    void peerConnected();

signals:
    // A receive has ended; stored tells whether a non-empty file replaced the target.
    void fileReceived(bool stored);

private:
    // Waits up to msecs for the interface to send what it holds, letting the
    // progress keep the program responsive; false on timeout or abort.
    bool waitUntilSent(int msecs);
    void refuse(const QString &reason);
    // Closes the open file and answers its name; the file is gone from m_pFile.
    QString closeFile(qint64 *size, bool *failed);
    bool replaceTarget(const QString &temporary);

    QFile *m_pFile = nullptr;
    QString m_targetPath;
    bool m_writeFailed = false;
    qint64 m_received = 0;
    qint64 m_maxReceiveSize = DefaultMaxReceiveSize;
    QTimer m_idleTimer;
    Validator m_validator;
    QString m_refusal;
    PTransferProgress *m_pProgress = nullptr;
    bool m_aborted = false;
};
