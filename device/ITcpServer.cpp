#include "device/ITcpServer.h"

#include "device/ITcpClient.h"
#include "device/PProtocol.h"

#include <QDebug>
#include <QTcpServer>
#include <QTcpSocket>

ITcpServer::ITcpServer(QObject *parent) : IInterface(parent) {}

ITcpServer::~ITcpServer()
{
    stop();
}

bool ITcpServer::start()
{
    if (m_pServer)
        return m_pServer->isListening();
    m_pServer = new QTcpServer(this);
    connect(m_pServer, &QTcpServer::newConnection, this, &ITcpServer::newConnection);
    connect(m_pServer, &QTcpServer::acceptError, this, &ITcpServer::serverror);
    const bool listening = m_pServer->listen(m_listenAddress, m_port);
    if (listening)
        qDebug() << "ITcpServer: listening" << m_pServer->serverPort();
    else
        qDebug() << "ITcpServer: cannot listen:" << m_pServer->errorString();
    return listening;
}

bool ITcpServer::stop()
{
    if (m_pClient) {
        QTcpSocket *client = m_pClient;
        m_pClient = nullptr;
        client->disconnectFromHost();
        client->disconnect(this);
        delete client;
    }
    closeServer();
    return true;
}

qint64 ITcpServer::write(const char *data, qint64 length)
{
    if (!m_pClient || !data || length <= 0)
        return 0;
    return m_pClient->write(data, length);
}

QString ITcpServer::name() const
{
    return QStringLiteral("TcpServer Interface");
}

void ITcpServer::setPort(uint port)
{
    m_port = static_cast<quint16>(port);
}

quint16 ITcpServer::port() const
{
    return m_pServer && m_pServer->isListening() ? m_pServer->serverPort() : m_port;
}

bool ITcpServer::isListening() const
{
    return m_pServer && m_pServer->isListening();
}

void ITcpServer::newConnection()
{
    if (!m_pServer)
        return;
    QTcpSocket *socket = m_pServer->nextPendingConnection();
    if (!socket)
        return;
    if (m_pClient) {
        // Only one peer is ever served.
        socket->abort();
        socket->deleteLater();
        return;
    }
    m_pClient = socket;
    m_pClient->setParent(this);
    m_pClient->setReadBufferSize(ITcpClient::MaxBlock);
    connect(m_pClient, &QTcpSocket::readyRead, this, &ITcpServer::readyRead);
    connect(m_pClient, &QTcpSocket::readChannelFinished, this, &ITcpServer::readChannelFinished);
    connect(m_pClient, &QTcpSocket::connected, this, &ITcpServer::connected);
    connect(m_pClient, &QTcpSocket::disconnected, this, &ITcpServer::disconnected);
    connect(m_pClient, &QTcpSocket::stateChanged, this, &ITcpServer::stateChanged);
    connect(m_pClient, &QTcpSocket::errorOccurred, this, &ITcpServer::error);
    connect(m_pClient, &QTcpSocket::aboutToClose, this, &ITcpServer::aboutToClose);
    qDebug().noquote() << "newConnection: " + m_pClient->peerAddress().toString() +
                              QStringLiteral(" -> ") + m_pClient->localAddress().toString();
    // No second peer can connect while this one is served.
    m_pServer->close();
    emit clientConnected();
    // Bytes may have arrived with the connection already.
    if (m_pClient && m_pClient->bytesAvailable() > 0)
        readyRead();
}

void ITcpServer::error(QAbstractSocket::SocketError)
{
    qDebug().noquote() << "error: " + (m_pClient ? m_pClient->errorString() : QString());
}

void ITcpServer::serverror(QAbstractSocket::SocketError)
{
    qDebug() << "serverror" << (m_pServer ? m_pServer->errorString() : QString());
}

void ITcpServer::stateChanged(QAbstractSocket::SocketState socketState)
{
    qDebug() << "stateChanged: " << socketState;
}

void ITcpServer::connected()
{
    qDebug() << "connected";
}

void ITcpServer::disconnected()
{
    qDebug() << "disconnected";
    // Whatever the peer sent before closing belongs to the transfer.
    readyRead();
    emit connectionClose();
}

void ITcpServer::readyRead()
{
    while (m_pClient && m_pClient->bytesAvailable() > 0) {
        m_receiveBuffer = m_pClient->read(ITcpClient::MaxBlock);
        if (m_receiveBuffer.isEmpty())
            break;
        if (m_pProtocol)
            m_pProtocol->receive(m_receiveBuffer);
    }
}

void ITcpServer::readChannelFinished()
{
    qDebug() << "readChannelFinished";
}

void ITcpServer::aboutToClose()
{
    qDebug() << "aboutToClose";
}

void ITcpServer::closeServer()
{
    if (!m_pServer)
        return;
    QTcpServer *server = m_pServer;
    m_pServer = nullptr;
    server->disconnect(this);
    server->close();
    delete server;
}
