#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

class ITcpClient;

// The DSP's acknowledgement line.
extern const QByteArray AckLine;

// Connects client to a peer on 127.0.0.1 and waits (up to ten seconds)
// until it runs.
bool connectTo(ITcpClient &client, quint16 port);

// A scripted DSP on 127.0.0.1. It lives in a thread of its own, so it accepts
// and answers while the client under test blocks in its waits. The script is
// set before listen(); after it, the DSP's members are touched only in its
// thread, through call() and read(). Sets get an ACK, gets an echo of
// the request with "=0" (",0" for group and parameter queries), and any request
// line can have its own reply: a list of chunks, each sent with its own write.
class ScriptedDsp : public QObject
{
public:
    ScriptedDsp()
    {
        moveToThread(&m_thread);
        m_thread.start();
    }
    ~ScriptedDsp() override
    {
        call([this] {
            for (QTcpSocket *client : qAsConst(clients)) {
                client->disconnect(this);
                client->abort();
            }
            delete m_pServer;
            moveToThread(QCoreApplication::instance()->thread());
        });
        m_thread.quit();
        m_thread.wait();
    }
    // Runs f in the DSP's thread and waits for it.
    template <typename F> void call(F f)
    {
        QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
    }
    template <typename T> T read(const T &member)
    {
        T copy;
        call([&] { copy = member; });
        return copy;
    }
    bool listen(quint16 port = 0)
    {
        bool ok = false;
        call([&] {
            m_pServer = new QTcpServer(this);
            connect(m_pServer, &QTcpServer::newConnection, this, [this] { accept(); });
            ok = m_pServer->listen(QHostAddress::LocalHost, port);
            m_port = m_pServer->serverPort();
        });
        return ok;
    }
    quint16 port() const { return m_port; }

    QHash<QByteArray, QList<QByteArray>> replies;
    bool silent = false;
    QByteArray received;
    int connections = 0;
    QList<QTcpSocket *> clients;

private:
    void accept()
    {
        while (QTcpSocket *client = m_pServer->nextPendingConnection()) {
            client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            clients.append(client);
            ++connections;
            connect(client, &QTcpSocket::readyRead, this, [this, client] { readFrom(client); });
            connect(client, &QTcpSocket::disconnected, this, [this, client] {
                clients.removeAll(client);
                client->deleteLater();
            });
        }
    }
    void readFrom(QTcpSocket *client)
    {
        const QByteArray data = client->readAll();
        received += data;
        m_partial += data;
        for (int cr = m_partial.indexOf('\r'); cr >= 0; cr = m_partial.indexOf('\r')) {
            for (const QByteArray &chunk : replyTo(m_partial.left(cr))) {
                client->write(chunk);
                client->flush();
            }
            m_partial.remove(0, cr + 1);
        }
    }
    QList<QByteArray> replyTo(const QByteArray &line) const
    {
        if (replies.contains(line))
            return replies.value(line);
        if (silent)
            return {};
        for (const char *word : {"SA ", "MA ", "SG ", "SN ", "SS "}) {
            if (line.startsWith(word))
                return {AckLine};
        }
        if (line.startsWith("GA "))
            return {line + "=0\r"};
        if (line.startsWith("GG ") || line.startsWith("GN "))
            return {line + ",0\r"};
        if (line == "GS ")
            return {QByteArray("S 0\r")};
        return {};
    }

    QThread m_thread;
    QTcpServer *m_pServer = nullptr;
    QByteArray m_partial;
    quint16 m_port = 0;
};

