#pragma once

#include "device/IInterface.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>

class QTcpServer;
class QTcpSocket;

// Listens for one peer, serves exactly that one and then stops listening.
class ITcpServer : public IInterface
{
    Q_OBJECT
public:
    explicit ITcpServer(QObject *parent = nullptr);
    ~ITcpServer() override;

    bool start() override;
    bool stop() override;
    qint64 write(const char *data, qint64 length) override;
    QString name() const override;
    void setPort(uint port) override;

    // Where to listen; any address unless told otherwise.
    void setListenAddress(const QHostAddress &address) { m_listenAddress = address; }
    // The port actually listened on (useful when port 0 let the system choose).
    quint16 port() const;
    bool isListening() const;
    QTcpSocket *clientSocket() const { return m_pClient; }

public slots:
    void newConnection();
    void error(QAbstractSocket::SocketError socketError);
    void serverror(QAbstractSocket::SocketError socketError);
    void stateChanged(QAbstractSocket::SocketState socketState);
    void connected();
    void disconnected();
    void readyRead();
    void readChannelFinished();
    void aboutToClose();

signals:
    // The one peer this server serves has connected.
    void clientConnected();

private:
    void closeServer();

    QTcpServer *m_pServer = nullptr;
    QTcpSocket *m_pClient = nullptr;
    QByteArray m_receiveBuffer;
    quint16 m_port = 10056;
    QHostAddress m_listenAddress = QHostAddress(QHostAddress::Any);
};
