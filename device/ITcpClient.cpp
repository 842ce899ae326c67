#include "device/ITcpClient.h"

#include "device/PProtocol.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTcpSocket>

ITcpClient::ITcpClient(QObject *parent) : IInterface(parent)
{
    m_retryTimer.setInterval(RetryInterval);
    connect(&m_retryTimer, &QTimer::timeout, this, &ITcpClient::retry);
}

ITcpClient::~ITcpClient()
{
    stop();
}

bool ITcpClient::start()
{
    // A second start must not leave a socket behind.
    if (m_pSocket)
        return m_pSocket->state() == QAbstractSocket::ConnectedState;

    m_pSocket = new QTcpSocket(this);
    // Bounded reads: beyond this TCP flow control holds the peer back.
    m_pSocket->setReadBufferSize(MaxBlock);
    connect(m_pSocket, &QTcpSocket::connected, this, &ITcpClient::connected);
    connect(m_pSocket, &QTcpSocket::disconnected, this, &ITcpClient::disconnected);
    connect(m_pSocket, &QTcpSocket::readyRead, this, &ITcpClient::dataReady);
    connect(m_pSocket, &QTcpSocket::errorOccurred, this, &ITcpClient::error);
    connect(m_pSocket, &QTcpSocket::stateChanged, this, &ITcpClient::stateChanged);
    m_pSocket->connectToHost(m_address, m_port, QIODevice::ReadWrite);
    // The socket may be gone if a slot above stopped the client meanwhile.
    return m_pSocket && m_pSocket->waitForConnected(m_connectWait);
}

bool ITcpClient::stop()
{
    if (!m_pSocket)
        return false;
    m_pSocket->disconnectFromHost();
    if (m_pSocket->state() != QAbstractSocket::UnconnectedState)
        m_pSocket->waitForDisconnected(30000);
    QTcpSocket *socket = m_pSocket;
    m_pSocket = nullptr;
    socket->disconnect(this);
    socket->close();
    delete socket;

    // A stopped client is not reconnecting; the next start begins from Idle.
    m_retryTimer.stop();
    m_socketState = QAbstractSocket::UnconnectedState;
    m_lastError = -1;
    m_failureCount = 0;
    if (m_clientState != Idle || m_status != 0) {
        m_clientState = Idle;
        setStatus(0);
    }
    return true;
}

void ITcpClient::ensureStarted()
{
    if (!m_pSocket)
        start();
}

void ITcpClient::suspend()
{
    stop();
}

qint64 ITcpClient::write(const char *data, qint64 length)
{
    if (!m_pSocket || !data || length <= 0)
        return 0;
    // One call per message, so a command never leaves split from its CR.
    return m_pSocket->write(data, length);
}

bool ITcpClient::waitForReply(int msecs)
{
    if (!m_pSocket)
        return false;
    if (m_pSocket->waitForReadyRead(msecs)) {
        m_failureCount = 0;
        return true;
    }
    ++m_failureCount;
    return false;
}

bool ITcpClient::waitForSent(int msecs)
{
    if (!m_pSocket)
        return false;
    return m_pSocket->waitForBytesWritten(msecs);
}

QString ITcpClient::statusText() const
{
    return stateText(m_clientState);
}

QString ITcpClient::stateText(int state)
{
    switch (state) {
    case Idle:
        return tr(" - Offline - Idle");
    case Connecting:
        return tr(" - Offline - Connecting");
    case Running:
        return tr(" - Online - Running");
    case Reconnecting:
        return tr(" - Offline - Reconnecting");
    case Resetting:
        return tr(" - Offline - Resetting");
    default:
        return tr(" - Unknown State");
    }
}

void ITcpClient::dump() const
{
    qDebug().noquote() << name() << addressText() + QLatin1Char(':') + QString::number(m_port)
                       << "state" << m_clientState << "socket" << m_socketState << "status"
                       << m_status << "failures" << m_failureCount << "error" << m_lastError;
}

QString ITcpClient::name() const
{
    return QStringLiteral("TcpClient Interface");
}

QString ITcpClient::addressText() const
{
    return m_address.toString();
}

void ITcpClient::setAddress(const QHostAddress &address)
{
    m_address = address;
}

void ITcpClient::setPort(uint port)
{
    m_port = static_cast<quint16>(port);
}

int ITcpClient::state() const
{
    return m_clientState;
}

qint64 ITcpClient::bytesToWrite() const
{
    return m_pSocket ? m_pSocket->bytesToWrite() : 0;
}

void ITcpClient::connected()
{
    m_socketState = QAbstractSocket::ConnectedState;
    applySocketOptions();
    step();
}

void ITcpClient::disconnected()
{
    m_socketState = QAbstractSocket::UnconnectedState;
    step();
}

void ITcpClient::error(QAbstractSocket::SocketError socketError)
{
    m_lastError = socketError;
    step();
}

void ITcpClient::stateChanged(QAbstractSocket::SocketState socketState)
{
    m_socketState = socketState;
    m_lastError = -1;
    if (socketState == QAbstractSocket::ConnectedState)
        applySocketOptions();
    step();
}

void ITcpClient::retry()
{
    if (!m_pSocket || m_status != 0)
        return;
    if (m_pSocket->state() != QAbstractSocket::UnconnectedState)
        m_pSocket->abort();
    if (!m_pSocket)
        return;
    m_pSocket->connectToHost(m_address, m_port, QIODevice::ReadWrite);
    if (m_pSocket)
        m_pSocket->waitForConnected(30);
}

void ITcpClient::dataReady()
{
    if (!m_pSocket)
        return;
    // Drain the socket even without a protocol, so nothing piles up unread;
    // each block handed on is at most MaxBlock bytes.
    while (m_pSocket && m_pSocket->bytesAvailable() > 0) {
        m_receiveBuffer = m_pSocket->read(MaxBlock);
        if (m_receiveBuffer.isEmpty())
            break;
        if (m_pProtocol)
            m_pProtocol->receive(m_receiveBuffer);
    }
}

void ITcpClient::step()
{
    const bool socketConnected = m_socketState == QAbstractSocket::ConnectedState;
    const bool socketUnconnected = m_socketState == QAbstractSocket::UnconnectedState;

    switch (m_clientState) {
    case Idle:
        if (m_socketState == QAbstractSocket::HostLookupState ||
            m_socketState == QAbstractSocket::ConnectingState)
            m_clientState = Connecting;
        break;
    case Connecting:
        if (socketConnected)
            enterRunning();
        else if (socketUnconnected)
            enterReconnecting();
        break;
    case Running:
        if (m_failureCount > MaxFailures) {
            qDebug() << "ITcpClient: no replies, resetting" << addressText();
            m_clientState = Resetting;
            m_failureCount = 0;
        } else if (m_lastError == QAbstractSocket::RemoteHostClosedError) {
            enterReconnecting();
        } else if (socketUnconnected) {
            m_clientState = Idle;
            m_failureCount = 0;
            setStatus(0);
        }
        break;
    case Reconnecting:
        if (socketConnected) {
            m_retryTimer.stop();
            enterRunning();
        } else if (!m_pSocket) {
            m_clientState = Idle;
        }
        break;
    case Resetting:
        if (m_lastError == QAbstractSocket::SocketTimeoutError) {
            m_lastError = -1;
            enterReconnecting();
            if (m_pSocket)
                m_pSocket->disconnectFromHost();
        }
        break;
    default:
        break;
    }
}

void ITcpClient::enterRunning()
{
    // A fresh connection: half a line from the last one is no answer.
    if (m_pProtocol)
        m_pProtocol->connectionReset();
    m_clientState = Running;
    m_failureCount = 0;
    setStatus(1);
}

void ITcpClient::enterReconnecting()
{
    m_clientState = Reconnecting;
    m_retryTimer.start(RetryInterval);
    m_failureCount = 0;
    setStatus(0);
}

void ITcpClient::applySocketOptions()
{
    // Messages are single short lines: send them at once rather than batch them.
    if (m_pSocket)
        m_pSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}
