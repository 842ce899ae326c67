#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

class MModel;

// Moves a saved panel to a mobile device over TCP, and receives one from it
// into the download file, which only a complete, readable panel archive
// replaces.
class MMobileTransfer : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 10056;

    explicit MMobileTransfer(MModel &model, QObject *parent = nullptr);

    // The Send to Mobile Device flow: the saved panel file, to the address
    // the user confirms. True when the whole file left.
    bool send();
    // Listens for a mobile device and stores what it sends as the download
    // file. True when the transfer ended without being refused; stored tells
    // whether a new file replaced the download.
    bool receive(bool *stored = nullptr);
    // Receive, then open what came (or else the earlier download) and go
    // online with it. True when a panel was opened.
    bool receivePanel();

    // The folder of the setting "Path/Designs", made when missing.
    static QString downloadFolder();
    static QString downloadPath();
    // A received file must be a panel archive that opens as a document.
    static bool validateDownload(const QString &path, QString *reason);

    // The port of both directions; and where receiving listens.
    quint16 port() const { return m_port; }
    void setPort(quint16 port) { m_port = port; }
    void setListenAddress(const QHostAddress &address) { m_listenAddress = address; }
    void setIdleTimeout(int msecs) { m_idleTimeout = msecs; }
    void setMaxReceiveSize(qint64 bytes) { m_maxReceiveSize = bytes; }

signals:
    // Receiving listens on this port now.
    void listening(quint16 port);

private:
    MModel &m;
    quint16 m_port = DefaultPort;
    QHostAddress m_listenAddress = QHostAddress(QHostAddress::Any);
    int m_idleTimeout;
    qint64 m_maxReceiveSize;
};
