#pragma once

#include "device/IInterface.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QTimer>

class QTcpSocket;

// TCP connection to a device that keeps reconnecting while it is started.
class ITcpClient : public IInterface
{
    Q_OBJECT
public:
    enum ClientState
    {
        Idle = 0,
        Connecting = 1,
        Running = 2,
        Reconnecting = 3,
        Resetting = 4
    };

    // Interval of the reconnect attempts while reconnecting.
    static constexpr int RetryInterval = 1500;
    // More failed reply waits in a row than this reset the connection.
    static constexpr int MaxFailures = 12;
    // The most bytes taken from the socket at once; a peer that floods us is
    // throttled by TCP instead of growing our memory.
    static constexpr int MaxBlock = 64 * 1024;

    explicit ITcpClient(QObject *parent = nullptr);
    ~ITcpClient() override;

    bool start() override;
    bool stop() override;
    void ensureStarted() override;
    void suspend() override;
    qint64 write(const char *data, qint64 length) override;
    bool waitForReply(int msecs) override;
    bool waitForSent(int msecs) override;
    QString statusText() const override;
    void dump() const override;
    QString name() const override;
    QString addressText() const override;
    void setAddress(const QHostAddress &address) override;
    void setPort(uint port) override;
    int state() const override;
    qint64 bytesToWrite() const override;

    // The text statusText() shows for a client state.
    static QString stateText(int state);

    QHostAddress address() const { return m_address; }
    quint16 port() const { return m_port; }
    QTcpSocket *socket() const { return m_pSocket; }
    const QByteArray &receiveBuffer() const { return m_receiveBuffer; }
    int lastError() const { return m_lastError; }
    int socketState() const { return m_socketState; }
    bool isRetrying() const { return m_retryTimer.isActive(); }

public slots:
    void connected();
    void disconnected();
    void retry();
    void dataReady();
    void error(QAbstractSocket::SocketError socketError);
    void stateChanged(QAbstractSocket::SocketState socketState);

private:
    // Runs the step of the current client state after a socket event.
    void step();
    void enterRunning();
    void enterReconnecting();
    void applySocketOptions();

    QTcpSocket *m_pSocket = nullptr;
    QByteArray m_receiveBuffer;
    QHostAddress m_address;
    quint16 m_port = 10055;
    int m_lastError = -1;
    int m_socketState = QAbstractSocket::UnconnectedState;
    int m_clientState = Idle;
    QTimer m_retryTimer;
};
