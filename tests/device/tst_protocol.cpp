#include "common/TestSupport.h"

#include "design/HBlock.h"
#include "device/IComposite.h"
#include "device/IIPAddress.h"
#include "device/IInterfaceFactory.h"
#include "device/ITcpClient.h"
#include "device/ITcpServer.h"
#include "device/PFileProtocol.h"
#include "device/PProtocolFactory.h"
#include "device/PZDXProtocol.h"
#include "device/TBin8.h"
#include "device/TStrV.h"
#include "device/TTransformFactory.h"
#include "document/CAttributes.h"

#include <QApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const int Patience = 10000;
const QByteArray AckLine("\x06\r", 2);
const QByteArray NakLine("\x15\r", 2);

QString printable(const QByteArray &bytes)
{
    QString text;
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7f)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace

// A scripted DSP on 127.0.0.1. It lives in its own thread, so it accepts and
// answers while the client under test blocks in its waits. Sets are answered
// with the set answer (ACK unless told otherwise), gets by echoing the request
// with "=0" (",0" for group and parameter queries), and any request line can
// be given its own reply: a list of chunks, each sent with its own write.
class ScriptedDsp : public QObject
{
    Q_OBJECT
public:
    void setReply(const QByteArray &request, const QList<QByteArray> &chunks)
    {
        QMutexLocker lock(&m_mutex);
        m_replies.insert(request, chunks);
    }
    void setSilent(bool silent)
    {
        QMutexLocker lock(&m_mutex);
        m_silent = silent;
    }
    void setSetAnswer(const QByteArray &answer)
    {
        QMutexLocker lock(&m_mutex);
        m_setAnswer = answer;
    }
    QByteArray received() const
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }
    QList<QByteArray> lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    int connectionCount() const
    {
        QMutexLocker lock(&m_mutex);
        return m_connections;
    }
    int port() const
    {
        QMutexLocker lock(&m_mutex);
        return m_port;
    }

public slots:
    bool listen(int port)
    {
        m_pServer = new QTcpServer(this);
        connect(m_pServer, &QTcpServer::newConnection, this, &ScriptedDsp::accept);
        if (!m_pServer->listen(QHostAddress::LocalHost, quint16(port)))
            return false;
        QMutexLocker lock(&m_mutex);
        m_port = m_pServer->serverPort();
        return true;
    }
    void closeClients()
    {
        const QList<QTcpSocket *> clients = m_clients;
        for (QTcpSocket *client : clients)
            client->disconnectFromHost();
    }
    void send(const QByteArray &bytes)
    {
        for (QTcpSocket *client : qAsConst(m_clients))
            client->write(bytes);
    }
    void flood(int total)
    {
        const QByteArray chunk(64 * 1024, 'x');
        for (int sent = 0; sent < total; sent += chunk.size())
            send(chunk.left(qMin(chunk.size(), total - sent)));
    }
    qint64 unsent() const
    {
        qint64 pending = 0;
        for (QTcpSocket *client : qAsConst(m_clients))
            pending += client->bytesToWrite();
        return pending;
    }
    void shutdown()
    {
        for (QTcpSocket *client : qAsConst(m_clients)) {
            client->disconnect(this);
            client->abort();
            delete client;
        }
        m_clients.clear();
        delete m_pServer;
        m_pServer = nullptr;
    }

private slots:
    void accept()
    {
        while (QTcpSocket *client = m_pServer->nextPendingConnection()) {
            client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            m_clients.append(client);
            connect(client, &QTcpSocket::readyRead, this, [this, client] { readFrom(client); });
            connect(client, &QTcpSocket::disconnected, this, [this, client] {
                m_clients.removeAll(client);
                client->deleteLater();
            });
            QMutexLocker lock(&m_mutex);
            ++m_connections;
        }
    }

private:
    void readFrom(QTcpSocket *client)
    {
        const QByteArray data = client->readAll();
        QList<QByteArray> replies;
        {
            QMutexLocker lock(&m_mutex);
            m_received += data;
            m_partial += data;
            int cr;
            while ((cr = m_partial.indexOf('\r')) >= 0) {
                const QByteArray line = m_partial.left(cr);
                m_partial.remove(0, cr + 1);
                m_lines.append(line);
                replies += replyTo(line);
            }
        }
        for (const QByteArray &chunk : qAsConst(replies)) {
            client->write(chunk);
            client->flush();
        }
    }

    QList<QByteArray> replyTo(const QByteArray &line) const
    {
        if (m_replies.contains(line))
            return m_replies.value(line);
        if (m_silent)
            return {};
        static const char *const setWords[] = {"SA ", "MA ", "SG ", "SN ", "SS "};
        for (const char *word : setWords) {
            if (line.startsWith(word))
                return {m_setAnswer};
        }
        if (line.startsWith("GA "))
            return {line + "=0\r"};
        if (line.startsWith("GG ") || line.startsWith("GN "))
            return {line + ",0\r"};
        if (line == "GS ")
            return {QByteArray("S 0\r")};
        return {};
    }

    mutable QMutex m_mutex;
    QTcpServer *m_pServer = nullptr;
    QList<QTcpSocket *> m_clients;
    QHash<QByteArray, QList<QByteArray>> m_replies;
    QByteArray m_partial;
    QByteArray m_received;
    QList<QByteArray> m_lines;
    QByteArray m_setAnswer = AckLine;
    bool m_silent = false;
    int m_connections = 0;
    int m_port = 0;
};

// Runs a ScriptedDsp in its own thread for the length of one test.
class DspRunner
{
public:
    DspRunner()
    {
        m_pDsp = new ScriptedDsp;
        m_pDsp->moveToThread(&m_thread);
        m_thread.start();
    }
    ~DspRunner()
    {
        QMetaObject::invokeMethod(m_pDsp, "shutdown", Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
        delete m_pDsp;
    }
    bool listen(int port = 0)
    {
        bool ok = false;
        QMetaObject::invokeMethod(m_pDsp, "listen", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(bool, ok), Q_ARG(int, port));
        return ok;
    }
    void closeClients()
    {
        QMetaObject::invokeMethod(m_pDsp, "closeClients", Qt::BlockingQueuedConnection);
    }
    void send(const QByteArray &bytes)
    {
        QMetaObject::invokeMethod(m_pDsp, "send", Qt::BlockingQueuedConnection,
                                  Q_ARG(QByteArray, bytes));
    }
    void flood(int total)
    {
        QMetaObject::invokeMethod(m_pDsp, "flood", Qt::BlockingQueuedConnection, Q_ARG(int, total));
    }
    qint64 unsent()
    {
        qint64 pending = 0;
        QMetaObject::invokeMethod(m_pDsp, "unsent", Qt::BlockingQueuedConnection,
                                  Q_RETURN_ARG(qint64, pending));
        return pending;
    }
    ScriptedDsp *operator->() const { return m_pDsp; }
    quint16 port() const { return quint16(m_pDsp->port()); }

private:
    QThread m_thread;
    ScriptedDsp *m_pDsp = nullptr;
};

// The real client with every write call it makes on record.
class RecordingClient : public ITcpClient
{
public:
    qint64 write(const char *data, qint64 length) override
    {
        writes.append(QByteArray(data, int(length)));
        return ITcpClient::write(data, length);
    }
    QList<QByteArray> writes;
};

// A protocol that only counts what the interface hands it.
class CountingProtocol : public PProtocol
{
public:
    bool receive(const QByteArray &data) override
    {
        total += data.size();
        largest = qMax(largest, data.size());
        return true;
    }
    qint64 total = 0;
    int largest = 0;
};

// A control's binding: node, attributes and transform, as a control holds them.
struct Binding
{
    Binding(const QString &kind, int structure, int index1, int index2 = 0)
        : transform(TTransformFactory::create(kind))
    {
        node.setLabel(QStringLiteral("Level1"));
        attributes.setStructNumber(quint32(structure));
        attributes.setIndex1(index1);
        attributes.setIndex2(index2);
        attributes.setChannelLabel(QStringLiteral("TorvaLink-1"));
        transform->setAttributes(&attributes);
        transform->setNode(&node);
        transform->configure();
    }
    HBlock node;
    CAttributes attributes;
    std::unique_ptr<TTransform> transform;
};

class TestProtocol : public QObject
{
    Q_OBJECT

private:
    // Connects client to the peer on 127.0.0.1 and waits until it runs.
    static bool connectTo(ITcpClient &client, quint16 port)
    {
        client.setAddress(QHostAddress(QHostAddress::LocalHost));
        client.setPort(port);
        client.start();
        return QTest::qWaitFor([&client] { return client.state() == ITcpClient::Running; },
                               Patience);
    }
    // A loaded machine may miss the 80 ms budget now and then: that is a
    // timeout, not a fault, so a request is repeated a few times.
    static bool request(PZDXProtocol &protocol, TTransform *transform)
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (protocol.requestValue(transform))
                return true;
        }
        return false;
    }
    static quint16 unusedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

private slots:
    void protocolFactoryChoosesByPlatform_data();
    void protocolFactoryChoosesByPlatform();
    void interfaceFactoryGivesTcpClients();
    void ipAddressOctets();
    void statusTextForEveryState_data();
    void statusTextForEveryState();

    void refusedClientReconnectsWhenDeviceComesUp();
    void peerClosingMovesToReconnecting();
    void silentPeerResetsAfterThirteenFailedWaits();
    void stopReturnsToIdle();
    void clientSetsLowDelay();

    void messagesOnTheWire_data();
    void messagesOnTheWire();
    void nothingSentWithoutBinding();
    void parameterSetRecallReturnsAtOnce();
    void setIsAnsweredWithAckOrNak_data();
    void setIsAnsweredWithAckOrNak();

    void answersDeliverTheValue_data();
    void answersDeliverTheValue();
    void staleAnswersAreSkipped_data();
    void staleAnswersAreSkipped();
    void hostileAnswersAreSurvived_data();
    void hostileAnswersAreSurvived();
    void floodIsReadInBoundedBlocks();

    void compositeForwardsToMembers();
    void serverServesExactlyOneClient();
    void receivedFileReplacesTargetOnClose();
    void emptyTransferKeepsEarlierFile();
    void sendFileWritesEveryByte();
};

void TestProtocol::protocolFactoryChoosesByPlatform_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("protocolName");

    QTest::newRow("Zindral") << "Zindral"
                             << "ZDX";
    QTest::newRow("Zindral with suffix") << "Zindral DSP"
                                         << "ZDX";
    QTest::newRow("Torva") << "Torva"
                           << "ZDX";
    QTest::newRow("Rallen with suffix") << "Rallen2"
                                        << "ZDX";
    QTest::newRow("File") << "File"
                          << "File";
    QTest::newRow("lower-case file") << "file" << QString();
    QTest::newRow("Files") << "Files" << QString();
    QTest::newRow("lower-case zindral") << "zindral" << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestProtocol::protocolFactoryChoosesByPlatform()
{
    QFETCH(QString, platform);
    QFETCH(QString, protocolName);

    std::unique_ptr<PProtocol> protocol(PProtocolFactory::create(platform));
    if (protocolName.isEmpty()) {
        QVERIFY2(!protocol,
                 qPrintable(QStringLiteral("expected no protocol for \"%1\", got %2")
                                .arg(platform, protocol ? protocol->name() : QString())));
        return;
    }
    QVERIFY2(protocol, qPrintable(QStringLiteral("no protocol for \"%1\"").arg(platform)));
    QCOMPARE(protocol->name(), protocolName);
}

void TestProtocol::interfaceFactoryGivesTcpClients()
{
    for (const QString &platform : {QStringLiteral("Zindral"), QStringLiteral("anything")}) {
        std::unique_ptr<IInterface> transport(IInterfaceFactory::create(platform));
        QVERIFY(qobject_cast<ITcpClient *>(transport.get()));
        QCOMPARE(transport->name(), QStringLiteral("TcpClient Interface"));
        QCOMPARE(transport->status(), 0u);
        QCOMPARE(transport->connectWait(), 100);
    }
}

void TestProtocol::ipAddressOctets()
{
    IIPAddress address(QHostAddress(QStringLiteral("192.168.0.1")));
    QCOMPARE(address.octet(0), 192);
    QCOMPARE(address.octet(1), 168);
    QCOMPARE(address.octet(2), 0);
    QCOMPARE(address.octet(3), 1);
    QCOMPARE(address.octet(4), 255);
    QCOMPARE(address.octet(-1), 255);

    address.setOctet(2, 0x1234); // only the low 8 bits count
    address.setOctet(3, 77);
    address.setOctet(4, 9);
    QCOMPARE(address.address().toString(), QStringLiteral("192.168.52.77"));
}

void TestProtocol::statusTextForEveryState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");

    QTest::newRow("idle") << 0 << " - Offline - Idle";
    QTest::newRow("connecting") << 1 << " - Offline - Connecting";
    QTest::newRow("running") << 2 << " - Online - Running";
    QTest::newRow("reconnecting") << 3 << " - Offline - Reconnecting";
    QTest::newRow("resetting") << 4 << " - Offline - Resetting";
    QTest::newRow("state 7") << 7 << " - Unknown State";
    QTest::newRow("negative") << -1 << " - Unknown State";
}

void TestProtocol::statusTextForEveryState()
{
    QFETCH(int, state);
    QFETCH(QString, text);
    QCOMPARE(ITcpClient::stateText(state), text);
}

void TestProtocol::refusedClientReconnectsWhenDeviceComesUp()
{
    const quint16 port = unusedPort();
    QVERIFY(port != 0);
    ITcpClient client;
    QSignalSpy status(&client, &IInterface::interfaceStatus);
    QCOMPARE(client.statusText(), QStringLiteral(" - Offline - Idle"));

    client.setAddress(QHostAddress(QHostAddress::LocalHost));
    client.setPort(port);
    QVERIFY2(!client.start(), "nothing listens, yet start() reported a connection");
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Reconnecting), Patience);
    QCOMPARE(client.status(), 0u);
    QVERIFY(client.isRetrying());
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().at(0).toUInt(), 0u);

    DspRunner dsp;
    QVERIFY2(dsp.listen(port), "the scripted DSP cannot take the port it was given");
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
    QCOMPARE(client.status(), 1u);
    QCOMPARE(status.last().at(0).toUInt(), 1u);
    QVERIFY(!client.isRetrying());
    QCOMPARE(client.failureCount(), 0);
    QCOMPARE(client.statusText(), QStringLiteral(" - Online - Running"));
    QTRY_COMPARE_WITH_TIMEOUT(dsp->connectionCount(), 1, Patience);
}

void TestProtocol::peerClosingMovesToReconnecting()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    QSignalSpy status(&client, &IInterface::interfaceStatus);

    QTRY_COMPARE_WITH_TIMEOUT(dsp->connectionCount(), 1, Patience);
    dsp.closeClients();
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Reconnecting), Patience);
    QCOMPARE(client.status(), 0u);
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.first().at(0).toUInt(), 0u);

    // The device still listens: the retry timer brings the client back.
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
    QCOMPARE(status.last().at(0).toUInt(), 1u);
    QTRY_COMPARE_WITH_TIMEOUT(dsp->connectionCount(), 2, Patience);
}

void TestProtocol::silentPeerResetsAfterThirteenFailedWaits()
{
    DspRunner dsp;
    dsp->setSilent(true);
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));

    for (int wait = 1; wait <= 13; ++wait)
        QVERIFY2(!client.waitForReply(10), "a silent peer delivered data");
    QCOMPARE(client.failureCount(), 13);
    QCOMPARE(client.state(), int(ITcpClient::Running));

    // The next socket event (the timeout of the 14th wait) resets.
    QSignalSpy status(&client, &IInterface::interfaceStatus);
    client.waitForReply(10);
    QCOMPARE(client.state(), int(ITcpClient::Resetting));
    QCOMPARE(client.statusText(), QStringLiteral(" - Offline - Resetting"));

    // Resetting drops the connection on the next timeout and reconnects.
    client.waitForReply(10);
    QCOMPARE(client.state(), int(ITcpClient::Reconnecting));
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.first().at(0).toUInt(), 0u);
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
    QCOMPARE(client.failureCount(), 0);
}

void TestProtocol::stopReturnsToIdle()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(!client.stop());
    QVERIFY(connectTo(client, dsp.port()));
    QSignalSpy status(&client, &IInterface::interfaceStatus);

    QVERIFY(client.stop());
    QCOMPARE(client.state(), int(ITcpClient::Idle));
    QCOMPARE(client.status(), 0u);
    QVERIFY(!client.socket());
    QVERIFY(!client.isRetrying());
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().at(0).toUInt(), 0u);
    QCOMPARE(client.write("GS \r", 4), qint64(0));
    QVERIFY(!client.waitForReply(10));

    // suspend() and ensureStarted() stop and start again.
    client.ensureStarted();
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
    client.suspend();
    QVERIFY(!client.socket());
    QCOMPARE(client.state(), int(ITcpClient::Idle));
}

void TestProtocol::clientSetsLowDelay()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    QVERIFY(client.socket());
    QCOMPARE(client.socket()->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);
}

void TestProtocol::messagesOnTheWire_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("structure");
    QTest::addColumn<int>("index1");
    QTest::addColumn<int>("index2");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("bytes");

    const int set = PZDXProtocol::SetMode;
    const int get = PZDXProtocol::GetMode;
    QTest::newRow("0 set Level1") << "strV" << 0 << 1 << 0 << "5" << set
                                  << QByteArray("SA \"Level1\">1=5\r");
    QTest::newRow("0 get") << "strV" << 0 << 1 << 0 << "5" << get
                           << QByteArray("GA \"Level1\">1\r");
    QTest::newRow("1 set") << "strV" << 1 << 12 << 0 << "-10.5" << set
                           << QByteArray("SA \"Level1\">12=-10.5\r");
    QTest::newRow("1 get") << "strV" << 1 << 12 << 0 << "" << get
                           << QByteArray("GA \"Level1\">12\r");
    QTest::newRow("2 set") << "chrL" << 2 << 1 << 3 << "O" << set
                           << QByteArray("SA \"Level1\">1>3=O\r");
    QTest::newRow("2 get") << "chrL" << 2 << 1 << 3 << "" << get
                           << QByteArray("GA \"Level1\">1>3\r");
    QTest::newRow("3 set") << "strV" << 3 << 1 << 3 << "7" << set
                           << QByteArray("SA \"Level1\">In2>3=7\r");
    QTest::newRow("3 get") << "strV" << 3 << 1 << 3 << "" << get
                           << QByteArray("GA \"Level1\">In2>3\r");
    QTest::newRow("4 set recalls set 3")
        << "bin8" << 4 << 0 << 0 << "3" << set << QByteArray("SS 3 \r");
    QTest::newRow("4 set recalls set 26")
        << "bin8" << 4 << 0 << 0 << "26" << set << QByteArray("SS 1a \r");
    QTest::newRow("4 get") << "bin8" << 4 << 0 << 0 << "" << get << QByteArray("GS \r");
    QTest::newRow("5 set") << "grpV" << 5 << 26 << 0 << "64" << set << QByteArray("SG 1a,64\r");
    QTest::newRow("5 poll") << "grpV" << 5 << 26 << 0 << "" << get << QByteArray("GG 1a\r");
    QTest::newRow("6 set") << "strV" << 6 << 255 << 0 << "1" << set << QByteArray("SN ff,1\r");
    QTest::newRow("6 get") << "strV" << 6 << 255 << 0 << "" << get << QByteArray("GN ff\r");
    QTest::newRow("7 set") << "strV" << 7 << 1 << 3 << "2" << set
                           << QByteArray("SA \"TorvaLink-1\">3=2\r");
    QTest::newRow("7 get") << "strV" << 7 << 1 << 3 << "" << get
                           << QByteArray("GA \"TorvaLink-1\">3\r");
    QTest::newRow("8 set") << "text" << 8 << 1 << 3 << "0123" << set
                           << QByteArray("MA \"Level1\">1=0123\r");
    QTest::newRow("8 set empty") << "text" << 8 << 1 << 3 << "" << set
                                 << QByteArray("MA \"Level1\">1\r");
    QTest::newRow("8 get") << "text" << 8 << 1 << 3 << "" << get
                           << QByteArray("GA \"Level1\">0>3\r");
}

void TestProtocol::messagesOnTheWire()
{
    QFETCH(QString, kind);
    QFETCH(int, structure);
    QFETCH(int, index1);
    QFETCH(int, index2);
    QFETCH(QString, value);
    QFETCH(int, mode);
    QFETCH(QByteArray, bytes);

    DspRunner dsp;
    QVERIFY(dsp.listen());
    RecordingClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);

    Binding binding(kind, structure, index1, index2);
    binding.attributes.setSet(QStringLiteral("F,O,T"));
    binding.transform->configure();
    // The value as an answer would leave it (a group level keeps its hex code).
    if (kind == QLatin1String("bin8"))
        binding.transform->fromInt(value.toInt());
    else
        binding.transform->setText(value);
    TStrV linked;
    linked.fromText(QStringLiteral("In2"));
    binding.transform->setLinked(&linked);

    if (mode == PZDXProtocol::SetMode)
        protocol.sendValue(binding.transform.get());
    else
        protocol.requestValue(binding.transform.get());

    QCOMPARE(PZDXProtocol::message(binding.transform.get(), mode), bytes);
    // One write per message: the line and its CR never travel apart.
    QCOMPARE(client.writes.size(), 1);
    QCOMPARE(printable(client.writes.first()), printable(bytes));
    QTRY_COMPARE_WITH_TIMEOUT(printable(dsp->received()), printable(bytes), Patience);
    QCOMPARE(protocol.mode(), mode);
    QCOMPARE(protocol.structure(), structure);
    QVERIFY(!protocol.isAwaiting());
}

void TestProtocol::nothingSentWithoutBinding()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    RecordingClient client;
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);
    Binding binding(QStringLiteral("strV"), 0, 1);

    // Offline: nothing goes out.
    QVERIFY(!protocol.sendValue(binding.transform.get()));
    QVERIFY(!protocol.requestValue(binding.transform.get()));

    QVERIFY(connectTo(client, dsp.port()));
    QVERIFY(!protocol.sendValue(nullptr));
    QVERIFY(!protocol.requestValue(nullptr));

    TStrV unbound;
    QVERIFY(!protocol.sendValue(&unbound));

    Binding unknown(QStringLiteral("strV"), 9, 1);
    QVERIFY(!protocol.sendValue(unknown.transform.get()));
    QVERIFY(!protocol.requestValue(unknown.transform.get()));

    // A name-addressed message without its node would address nothing.
    Binding nodeless(QStringLiteral("strV"), 0, 1);
    nodeless.transform->setNode(nullptr);
    QVERIFY(!protocol.sendValue(nodeless.transform.get()));

    QVERIFY2(client.writes.isEmpty(), qPrintable(QStringLiteral("expected no writes, got %1: %2")
                                                     .arg(client.writes.size())
                                                     .arg(printable(client.writes.value(0)))));
}

void TestProtocol::parameterSetRecallReturnsAtOnce()
{
    DspRunner dsp;
    dsp->setSilent(true);
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);

    Binding binding(QStringLiteral("bin8"), 4, 0);
    binding.transform->fromInt(3);
    // The DSP stays silent, yet the recall counts as sent, and no wait failed.
    QVERIFY(protocol.sendValue(binding.transform.get()));
    QVERIFY(!protocol.isAwaiting());
    QCOMPARE(client.failureCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(dsp->received(), QByteArray("SS 3 \r"), Patience);
}

void TestProtocol::setIsAnsweredWithAckOrNak_data()
{
    QTest::addColumn<QByteArray>("setAnswer");
    QTest::addColumn<bool>("result");

    QTest::newRow("ACK") << AckLine << true;
    QTest::newRow("NAK") << NakLine << false;
    QTest::newRow("silence") << QByteArray() << false;
}

void TestProtocol::setIsAnsweredWithAckOrNak()
{
    QFETCH(QByteArray, setAnswer);
    QFETCH(bool, result);

    // Each answer kind gets its own connection: answers to sets carry no
    // address, so a late one could not be told from the next.
    DspRunner dsp;
    dsp->setSetAnswer(setAnswer);
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);
    Binding binding(QStringLiteral("strV"), 0, 1);
    binding.transform->fromText(QStringLiteral("5"));

    if (setAnswer.isEmpty()) {
        // Silence: false, and the interface counts the failed wait.
        QVERIFY(!protocol.sendValue(binding.transform.get()));
        QCOMPARE(client.failureCount(), 1);
    } else if (result) {
        bool acknowledged = false;
        for (int attempt = 0; attempt < 10 && !acknowledged; ++attempt)
            acknowledged = protocol.sendValue(binding.transform.get());
        QVERIFY2(acknowledged, "an ACK never came back for the set");
    } else {
        // A NAK is an answer (the wait succeeds), but the set failed.
        bool answered = false;
        for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
            QVERIFY2(!protocol.sendValue(binding.transform.get()), "a NAK was taken for an ACK");
            answered = client.failureCount() == 0;
        }
        QVERIFY2(answered, "the NAK never arrived within the reply wait");
    }
    QVERIFY(!protocol.isAwaiting());
    QCOMPARE(binding.transform->toText(), QStringLiteral("5"));
}

void TestProtocol::answersDeliverTheValue_data()
{
    QTest::addColumn<int>("structure");
    QTest::addColumn<QByteArray>("requestLine");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("keepsPending");

    QTest::newRow("0 echo and value")
        << 0 << QByteArray("GA \"Level1\">1") << QByteArray("GA \"Level1\">1=5\r") << "5" << false;
    QTest::newRow("0 value with ; tail")
        << 0 << QByteArray("GA \"Level1\">1") << QByteArray("GA \"Level1\">1=-10.5;dB rest\r")
        << "-10.5" << false;
    QTest::newRow("2 two steps") << 2 << QByteArray("GA \"Level1\">1>3")
                                 << QByteArray("GA \"Level1\">1>3=7\r") << "7" << false;
    QTest::newRow("3 linked step") << 3 << QByteArray("GA \"Level1\">In2>3")
                                   << QByteArray("GA \"Level1\">In2>3=on;\r") << "on" << false;
    QTest::newRow("7 channel label") << 7 << QByteArray("GA \"TorvaLink-1\">3")
                                     << QByteArray("GA \"TorvaLink-1\">3=12\r") << "12" << false;
    QTest::newRow("8 matrix") << 8 << QByteArray("GA \"Level1\">0>3")
                              << QByteArray("GA \"Level1\">0>3=2\r") << "2" << false;
    QTest::newRow("4 parameter set")
        << 4 << QByteArray("GS ") << QByteArray("S 3\r") << "3" << false;
    QTest::newRow("5 group level")
        << 5 << QByteArray("GG 1a") << QByteArray("GG 1a,64\r") << "64" << false;
    QTest::newRow("5 upper-case hex echo")
        << 5 << QByteArray("GG 1a") << QByteArray("GG 1A,64\r") << "64" << false;
    QTest::newRow("6 with ; tail")
        << 6 << QByteArray("GN 1a") << QByteArray("GN 1a,7;x\r") << "7" << false;
    QTest::newRow("0 NAK keeps the control pending")
        << 0 << QByteArray("GA \"Level1\">1") << NakLine << "old" << true;
    QTest::newRow("5 has no NAK test") << 5 << QByteArray("GG 1a") << NakLine << "old" << false;
    QTest::newRow("two answers in one write, ; tails")
        << 0 << QByteArray("GA \"Level1\">1")
        << QByteArray("GA \"Level1\">1=5;a\rGA \"Level1\">1=6;b\r") << "5" << false;
    QTest::newRow("two answers in one write, no tails")
        << 0 << QByteArray("GA \"Level1\">1")
        << QByteArray("GA \"Level1\">1=5\rGA \"Level1\">1=6\r") << "5\rGA \"Level1\">1=6" << false;
    QTest::newRow("Latin-1 value")
        << 0 << QByteArray("GA \"Level1\">1") << QByteArray("GA \"Level1\">1=\xe9t\xe9\r")
        << QString::fromLatin1("\xe9t\xe9") << false;
    QTest::newRow("text ends at zero byte")
        << 0 << QByteArray("GA \"Level1\">1") << QByteArray("GA \"Level1\">1=5\0=9\r", 19) << "5"
        << false;
    QTest::newRow("no CR") << 0 << QByteArray("GA \"Level1\">1") << QByteArray("GA \"Level1\">1=5")
                           << "5" << false;
    QTest::newRow("empty value") << 0 << QByteArray("GA \"Level1\">1")
                                 << QByteArray("GA \"Level1\">1=\r") << "" << false;
    QTest::newRow("no separator") << 0 << QByteArray("GA \"Level1\">1")
                                  << QByteArray("GA \"Level1\">1\r") << "old" << false;
}

void TestProtocol::answersDeliverTheValue()
{
    QFETCH(int, structure);
    QFETCH(QByteArray, requestLine);
    QFETCH(QByteArray, reply);
    QFETCH(QString, value);
    QFETCH(bool, keepsPending);

    DspRunner dsp;
    dsp->setReply(requestLine, {reply});
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);

    Binding binding(QStringLiteral("text"), structure, structure == 5 || structure == 6 ? 26 : 1,
                    3);
    TStrV linked;
    linked.fromText(QStringLiteral("In2"));
    binding.transform->setLinked(&linked);
    binding.transform->setText(QStringLiteral("old"));

    QVERIFY2(request(protocol, binding.transform.get()),
             qPrintable(QStringLiteral("no answer taken for %1; the DSP saw: %2")
                            .arg(printable(requestLine), printable(dsp->received()))));
    QCOMPARE(printable(binding.transform->toText().toLatin1()), printable(value.toLatin1()));
    QCOMPARE(protocol.pendingTransform() == binding.transform.get(), keepsPending);
    QVERIFY(!protocol.isAwaiting());
}

void TestProtocol::staleAnswersAreSkipped_data()
{
    QTest::addColumn<int>("structure");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("requestLine");
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("value");

    const int set = PZDXProtocol::SetMode;
    const int get = PZDXProtocol::GetMode;
    const QByteArray getTwo("GA \"Level1\">2");
    const QByteArray lateOne("GA \"Level1\">1=3\r");
    const QByteArray answerTwo("GA \"Level1\">2=7\r");

    QTest::newRow("late answer and answer in one write")
        << 0 << get << getTwo << QList<QByteArray>{lateOne + answerTwo} << true << "7";
    QTest::newRow("late answer and answer in two writes")
        << 0 << get << getTwo << QList<QByteArray>{lateOne, answerTwo} << true << "7";
    QTest::newRow("only a late answer")
        << 0 << get << getTwo << QList<QByteArray>{lateOne} << false << "old";
    QTest::newRow("late answer of another name")
        << 0 << get << getTwo << QList<QByteArray>{QByteArray("GA \"Level2\">2=9\r"), answerTwo}
        << true << "7";
    QTest::newRow("late group level")
        << 5 << get << QByteArray("GG 2") << QList<QByteArray>{QByteArray("GG 1,64\rGG 2,65\r")}
        << true << "65";
    QTest::newRow("late group level of another kind")
        << 6 << get << QByteArray("GN 2")
        << QList<QByteArray>{QByteArray("GG 2,64\r"), QByteArray("GN 2,66\r")} << true << "66";
    QTest::newRow("late ACK before a get answer")
        << 0 << get << getTwo << QList<QByteArray>{AckLine, answerTwo} << true << "7";
    QTest::newRow("thousands of late ACKs before a get answer")
        << 0 << get << getTwo << QList<QByteArray>{AckLine.repeated(20000) + answerTwo} << true
        << "7";
    QTest::newRow("late get answer before the ACK of a set")
        << 0 << set << QByteArray("SA \"Level1\">2=1") << QList<QByteArray>{lateOne, AckLine}
        << true << "1";
}

void TestProtocol::staleAnswersAreSkipped()
{
    QFETCH(int, structure);
    QFETCH(int, mode);
    QFETCH(QByteArray, requestLine);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, result);
    QFETCH(QString, value);

    DspRunner dsp;
    dsp->setReply(requestLine, chunks);
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);

    Binding binding(QStringLiteral("text"), structure, 2);
    binding.transform->setText(QStringLiteral("old"));
    if (mode == PZDXProtocol::SetMode)
        binding.transform->fromText(value);

    bool answered = false;
    for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
        answered = mode == PZDXProtocol::SetMode ? protocol.sendValue(binding.transform.get())
                                                 : protocol.requestValue(binding.transform.get());
        // Whatever came back, a late answer is never taken as the value.
        if (mode == PZDXProtocol::GetMode)
            QCOMPARE(binding.transform->toText(), answered ? value : QStringLiteral("old"));
        if (!result)
            break;
    }
    QCOMPARE(answered, result);
    QTRY_VERIFY_WITH_TIMEOUT(dsp->lines().contains(requestLine), Patience);
}

void TestProtocol::hostileAnswersAreSurvived_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("value");

    QTest::newRow("only CR") << QByteArray("\r") << "old";
    QTest::newRow("zero byte first") << QByteArray("\0GA \"Level1\">1=5\r", 17) << "old";
    QTest::newRow("only zero bytes") << QByteArray(64, '\0') << "old";
    QTest::newRow("semicolon first") << QByteArray(";GA \"Level1\">1=5\r") << "old";
    QTest::newRow("quote never closed") << QByteArray("GA \"Level1>1=5\r") << "old";
    QTest::newRow("only high bytes") << QByteArray(300, '\xff') << "old";
    QTest::newRow("separator of a long line")
        << QByteArray("GA \"Level1\">1=") + QByteArray(200000, 'x') + '\r' << "x";
}

void TestProtocol::hostileAnswersAreSurvived()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, value);

    DspRunner dsp;
    dsp->setReply("GA \"Level1\">1", {reply});
    QVERIFY(dsp.listen());
    ITcpClient client;
    QVERIFY(connectTo(client, dsp.port()));
    PZDXProtocol protocol;
    protocol.setInterface(&client);
    client.setProtocol(&protocol);

    Binding hostile(QStringLiteral("text"), 0, 1);
    hostile.transform->setText(QStringLiteral("old"));
    protocol.requestValue(hostile.transform.get());
    const QString taken = hostile.transform->toText();
    if (value == QLatin1String("x")) {
        // A line longer than a block yields at most one block of it.
        QVERIFY2(taken == QLatin1String("old") ||
                     (!taken.isEmpty() && taken.size() <= ITcpClient::MaxBlock &&
                      taken.count(QLatin1Char('x')) == taken.size()),
                 qPrintable(QStringLiteral("unexpected value of %1 characters: %2")
                                .arg(taken.size())
                                .arg(taken.left(40))));
    } else {
        QCOMPARE(taken, value);
    }

    // The connection stays usable: a proper answer gets through again.
    Binding next(QStringLiteral("text"), 0, 2);
    dsp->setReply("GA \"Level1\">2", {QByteArray("GA \"Level1\">2=42\r")});
    bool delivered = false;
    for (int attempt = 0; attempt < 20 && !delivered; ++attempt) {
        protocol.requestValue(next.transform.get());
        delivered = next.transform->toText() == QLatin1String("42");
    }
    QVERIFY2(delivered, qPrintable(QStringLiteral("after the hostile answer the value is \"%1\"")
                                       .arg(next.transform->toText().left(40))));
    QCOMPARE(client.state(), int(ITcpClient::Running));
}

void TestProtocol::floodIsReadInBoundedBlocks()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    ITcpClient client;
    CountingProtocol counter;
    client.setProtocol(&counter);
    QVERIFY(connectTo(client, dsp.port()));
    QVERIFY(client.socket());
    QCOMPARE(client.socket()->readBufferSize(), qint64(ITcpClient::MaxBlock));
    QTRY_COMPARE_WITH_TIMEOUT(dsp->connectionCount(), 1, Patience);

    const int total = 4 * 1024 * 1024;
    dsp.flood(total);
    QTRY_COMPARE_WITH_TIMEOUT(counter.total, qint64(total), 3 * Patience);
    QVERIFY2(counter.largest <= ITcpClient::MaxBlock,
             qPrintable(QStringLiteral("a block of %1 bytes was handed on").arg(counter.largest)));
    QVERIFY(client.receiveBuffer().size() <= ITcpClient::MaxBlock);

    // Without a protocol the client still drains the socket: the peer gets
    // rid of more than the kernel's buffers could ever hold unread.
    client.setProtocol(nullptr);
    dsp.flood(4 * total);
    QTRY_COMPARE_WITH_TIMEOUT(dsp.unsent(), qint64(0), 3 * Patience);
    QCOMPARE(client.socket()->state(), QAbstractSocket::ConnectedState);
    QVERIFY(client.socket()->bytesAvailable() <= ITcpClient::MaxBlock);
}

void TestProtocol::compositeForwardsToMembers()
{
    DspRunner dsp;
    QVERIFY(dsp.listen());
    IComposite composite;
    auto *online = new ITcpClient;
    auto *offline = new ITcpClient;
    QPointer<ITcpClient> onlineGuard(online);
    QPointer<ITcpClient> offlineGuard(offline);
    online->setAddress(QHostAddress(QHostAddress::LocalHost));
    online->setPort(dsp.port());
    offline->setAddress(QHostAddress(QHostAddress::LocalHost));
    offline->setPort(unusedPort());

    composite.add(online);
    composite.add(offline);
    composite.add(online);
    composite.add(nullptr);
    QCOMPARE(composite.count(), 2);
    QCOMPARE(composite.countOnline(), 0);

    QVERIFY2(!composite.start(), "start() reported success though one member cannot connect");
    QTRY_COMPARE_WITH_TIMEOUT(online->state(), int(ITcpClient::Running), Patience);
    QCOMPARE(composite.countOnline(), 1);

    QSignalSpy onlineStatus(online, &IInterface::interfaceStatus);
    QSignalSpy offlineStatus(offline, &IInterface::interfaceStatus);
    composite.emitStatus();
    QCOMPARE(onlineStatus.size(), 1);
    QCOMPARE(onlineStatus.first().at(0).toUInt(), 1u);
    QCOMPARE(offlineStatus.size(), 1);
    QCOMPARE(offlineStatus.first().at(0).toUInt(), 0u);

    // A member deleted elsewhere simply drops out.
    delete offline;
    QCOMPARE(composite.count(), 1);
    QVERIFY(composite.stop());
    QCOMPARE(composite.countOnline(), 0);

    composite.clear(false);
    QCOMPARE(composite.count(), 0);
    QVERIFY(onlineGuard);
    composite.add(online);
    composite.clear(true);
    QVERIFY(!onlineGuard);
    QVERIFY(!offlineGuard);
}

void TestProtocol::serverServesExactlyOneClient()
{
    ITcpServer server;
    QCOMPARE(server.name(), QStringLiteral("TcpServer Interface"));
    server.setListenAddress(QHostAddress(QHostAddress::LocalHost));
    server.setPort(0);
    QVERIFY(server.start());
    QVERIFY(server.isListening());
    const quint16 port = server.port();
    QVERIFY(port != 0);

    QTcpSocket first;
    first.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    QTRY_VERIFY_WITH_TIMEOUT(server.clientSocket() != nullptr, Patience);
    QVERIFY(!server.isListening());

    QTcpSocket second;
    QSignalSpy refused(&second, &QTcpSocket::errorOccurred);
    second.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    QTRY_VERIFY_WITH_TIMEOUT(!refused.isEmpty(), Patience);
    QCOMPARE(refused.first().at(0).value<QAbstractSocket::SocketError>(),
             QAbstractSocket::ConnectionRefusedError);

    // The served client hears what the interface writes.
    QCOMPARE(server.write("hello", 5), qint64(5));
    QTRY_COMPARE_WITH_TIMEOUT(first.bytesAvailable(), qint64(5), Patience);
    QCOMPARE(first.readAll(), QByteArray("hello"));

    QSignalSpy closed(&server, &IInterface::connectionClose);
    first.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, Patience);
    QVERIFY(server.stop());
    QVERIFY(!server.clientSocket());
    QCOMPARE(server.write("x", 1), qint64(0));
}

void TestProtocol::receivedFileReplacesTargetOnClose()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("download.cpn"));
    {
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier download");
    }

    ITcpServer server;
    server.setListenAddress(QHostAddress(QHostAddress::LocalHost));
    server.setPort(0);
    PFileProtocol protocol;
    QVERIFY2(!protocol.receiveFile(target), "receiving without an interface");
    protocol.setInterface(&server);
    server.setProtocol(&protocol);
    QVERIFY(server.start());
    QVERIFY(protocol.receiveFile(target));
    QVERIFY(protocol.isReceiving());
    QVERIFY(QFile::exists(target + QLatin1Char('t')));

    QByteArray payload;
    for (int i = 0; i < 70000; ++i)
        payload += char(i % 251);
    QSignalSpy received(&protocol, &PFileProtocol::fileReceived);
    QTcpSocket sender;
    sender.connectToHost(QHostAddress(QHostAddress::LocalHost), server.port());
    QVERIFY(sender.waitForConnected(Patience));
    sender.write(payload);
    sender.disconnectFromHost();

    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, Patience);
    QCOMPARE(received.first().at(0).toBool(), true);
    QVERIFY(!protocol.isReceiving());
    QVERIFY(!QFile::exists(target + QLatin1Char('t')));
    QFile stored(target);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray content = stored.readAll();
    QVERIFY2(
        content == payload,
        qPrintable(
            QStringLiteral("stored %1 bytes, sent %2").arg(content.size()).arg(payload.size())));
    dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestProtocol::emptyTransferKeepsEarlierFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("download.cpn"));
    {
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier download");
    }

    ITcpServer server;
    server.setListenAddress(QHostAddress(QHostAddress::LocalHost));
    server.setPort(0);
    PFileProtocol protocol;
    protocol.setInterface(&server);
    server.setProtocol(&protocol);
    QVERIFY(server.start());
    QVERIFY(protocol.receiveFile(target));

    QSignalSpy received(&protocol, &PFileProtocol::fileReceived);
    QTcpSocket sender;
    sender.connectToHost(QHostAddress(QHostAddress::LocalHost), server.port());
    QVERIFY(sender.waitForConnected(Patience));
    sender.disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, Patience);
    QCOMPARE(received.first().at(0).toBool(), false);

    QVERIFY(!QFile::exists(target + QLatin1Char('t')));
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("earlier download"));
    dir.setAutoRemove(!QTest::currentTestFailed());
}

void TestProtocol::sendFileWritesEveryByte()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("panel.cpf"));
    QByteArray payload;
    for (int i = 0; i < 10000; ++i)
        payload += char('A' + i % 26);
    payload[5000] = '\r';
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(payload);
    }

    DspRunner dsp;
    dsp->setSilent(true);
    QVERIFY(dsp.listen());
    RecordingClient client;
    PFileProtocol protocol;
    QVERIFY2(!protocol.sendFile(path), "sending without an interface");
    protocol.setInterface(&client);
    QVERIFY(connectTo(client, dsp.port()));

    QVERIFY(!protocol.sendFile(dir.filePath(QStringLiteral("missing.cpf"))));
    QVERIFY(protocol.sendFile(path));
    QList<int> chunkSizes;
    for (const QByteArray &chunk : qAsConst(client.writes))
        chunkSizes << chunk.size();
    QCOMPARE(chunkSizes, (QList<int>{4096, 4096, 1808}));
    QTRY_COMPARE_WITH_TIMEOUT(dsp->received().size(), payload.size(), Patience);
    QVERIFY(dsp->received() == payload);
    dir.setAutoRemove(!QTest::currentTestFailed());
}

ZRB_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
