#include "common/ScriptedDsp.h"
#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "design/HBlock.h"
#include "device/IComposite.h"
#include "device/IIPAddress.h"
#include "device/IInterfaceFactory.h"
#include "device/ITcpClient.h"
#include "device/ITcpServer.h"
#include "device/PFileProtocol.h"
#include "device/PProtocolFactory.h"
#include "device/PProtocolListener.h"
#include "device/PZDXProtocol.h"
#include "device/TStrV.h"
#include "device/TTransformFactory.h"
#include "document/CAttributes.h"

#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const int Patience = 10000;
const QByteArray NakLine("\x15\r", 2);

// The bytes with control and high bytes as %XX, for messages.
QString printable(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" !\"#$&'()*+,/:;<=>?@[\\]^`{|}"));
}

// The status a spy caught at index (-1: the last one); 99 when there is none.
uint statusAt(const QSignalSpy &spy, int index = -1)
{
    const int at = index < 0 ? spy.size() - 1 : index;
    return at >= 0 && at < spy.size() ? spy.at(at).at(0).toUInt() : 99u;
}

// A client's state, status and retry timer in one line.
QString summary(const ITcpClient &client)
{
    return ITcpClient::stateText(client.state()) +
           QStringLiteral(", status %1%2")
               .arg(client.status())
               .arg(client.isRetrying() ? ", retrying" : "");
}

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

// Counts what the protocol tells its listener.
class CountingListener : public PProtocolListener
{
public:
    void userChangedValue() override { ++calls; }
    int calls = 0;
};

quint16 unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A DSP protocol on a recording client, online once up() has connected it.
struct Online
{
    Online()
    {
        protocol.setInterface(&client);
        client.setProtocol(&protocol);
    }
    bool up() { return dsp.listen() && connectTo(client, dsp.port()); }
    ScriptedDsp dsp;
    RecordingClient client;
    PZDXProtocol protocol;
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
        attributes.setSet(QStringLiteral("F,O,T"));
        linked.fromText(QStringLiteral("In2"));
        transform->setAttributes(&attributes);
        transform->setNode(&node);
        transform->setLinked(&linked);
        transform->configure();
    }
    TTransform *get() const { return transform.get(); }
    TTransform *operator->() const { return transform.get(); }
    HBlock node;
    CAttributes attributes;
    TStrV linked;
    std::unique_ptr<TTransform> transform;
};

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT

private slots:
    void factoriesChooseByPlatform_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("protocolName");
        const QString zdx = QStringLiteral("ZDX");
        QTest::newRow("Zindral") << "Zindral" << zdx;
        QTest::newRow("Zindral with suffix") << "Zindral DSP" << zdx;
        QTest::newRow("Torva") << "Torva" << zdx;
        QTest::newRow("Rallen with suffix") << "Rallen2" << zdx;
        QTest::newRow("File") << "File" << QStringLiteral("File");
        QTest::newRow("lower-case file") << "file" << QString();
        QTest::newRow("Files") << "Files" << QString();
        QTest::newRow("lower-case zindral") << "zindral" << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void factoriesChooseByPlatform()
    {
        QFETCH(QString, platform);
        QFETCH(QString, protocolName);
        std::unique_ptr<PProtocol> protocol(PProtocolFactory::create(platform));
        QCOMPARE(protocol ? protocol->name() : QString(), protocolName);

        // Every platform talks over a TCP client.
        std::unique_ptr<IInterface> transport(IInterfaceFactory::create(platform));
        QVERIFY(qobject_cast<ITcpClient *>(transport.get()));
    }

    void ipAddressOctets()
    {
        IIPAddress address(QHostAddress(QStringLiteral("127.0.0.1")));
        QCOMPARE(address.octet(0), 127);
        QCOMPARE(address.octet(3), 1);
        QCOMPARE(address.octet(4), 255);
        QCOMPARE(address.octet(-1), 255);
        address.setOctet(2, 0x1234); // only the low 8 bits count
        address.setOctet(3, 77);
        address.setOctet(4, 9);
        QCOMPARE(address.address().toString(), QStringLiteral("127.0.52.77"));
    }

    void clientReconnectsWhileStarted()
    {
        QCOMPARE(ITcpClient::stateText(7), QStringLiteral(" - Unknown State"));
        QCOMPARE(ITcpClient::stateText(-1), QStringLiteral(" - Unknown State"));
        const quint16 port = unusedPort();
        QVERIFY(port != 0);
        ITcpClient client;
        QSignalSpy status(&client, &IInterface::interfaceStatus);
        QVERIFY2(!client.stop(), "an idle client reported a stop");
        client.setAddress(QHostAddress(QHostAddress::LocalHost));
        client.setPort(port);
        QVERIFY2(!client.start(), "nothing listens, yet start() reported a connection");
        QTRY_COMPARE_WITH_TIMEOUT(summary(client), " - Offline - Reconnecting, status 0, retrying",
                                  Patience);
        QCOMPARE(statusAt(status), 0u);

        // The device comes up: the retry timer brings the client online.
        ScriptedDsp dsp;
        QVERIFY2(dsp.listen(port), "the scripted DSP cannot take the port it was given");
        QTRY_COMPARE_WITH_TIMEOUT(summary(client), " - Online - Running, status 1", Patience);
        QCOMPARE(statusAt(status), 1u);

        // The device drops the connection but still listens: offline, then back.
        QTRY_COMPARE_WITH_TIMEOUT(dsp.read(dsp.connections), 1, Patience);
        status.clear();
        dsp.call([&dsp] {
            for (QTcpSocket *socket : qAsConst(dsp.clients))
                socket->disconnectFromHost();
        });
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Reconnecting), Patience);
        QCOMPARE(client.status(), 0u);
        QCOMPARE(statusAt(status, 0), 0u);
        QTRY_COMPARE_WITH_TIMEOUT(summary(client), " - Online - Running, status 1", Patience);
        QCOMPARE(statusAt(status), 1u);
        QTRY_COMPARE_WITH_TIMEOUT(dsp.read(dsp.connections), 2, Patience);

        // Stopped, the client is idle and neither writes nor waits.
        QVERIFY(client.stop());
        QCOMPARE(summary(client), QStringLiteral(" - Offline - Idle, status 0"));
        QVERIFY(!client.socket());
        QCOMPARE(statusAt(status), 0u);
        QCOMPARE(client.write("GS \r", 4), qint64(0));
        QVERIFY(!client.waitForReply(10));
        // ensureStarted() and suspend() start and stop again.
        client.ensureStarted();
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
        client.suspend();
        QCOMPARE(summary(client), QStringLiteral(" - Offline - Idle, status 0"));
        QVERIFY(!client.socket());
    }

    void silentPeerResetsAfterThirteenFailedWaits()
    {
        ScriptedDsp dsp;
        dsp.silent = true;
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
        QCOMPARE(client.statusText(), QStringLiteral(" - Offline - Resetting"));
        // Resetting drops the connection on the next timeout and reconnects.
        client.waitForReply(10);
        QCOMPARE(client.state(), int(ITcpClient::Reconnecting));
        QCOMPARE(statusAt(status, 0), 0u);
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), int(ITcpClient::Running), Patience);
        QCOMPARE(client.failureCount(), 0);
    }

    void messagesOnTheWire_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("structure");
        QTest::addColumn<int>("index1");
        QTest::addColumn<int>("index2");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("setLine");
        QTest::addColumn<QByteArray>("getLine");
        auto row = [](const char *tag, QString kind, int structure, int index1, int index2,
                      QString value, QByteArray setLine, QByteArray getLine) {
            QTest::newRow(tag) << kind << structure << index1 << index2 << value << setLine
                               << getLine;
        };
        row("0 Level1", "strV", 0, 1, 0, "5", "SA \"Level1\">1=5\r", "GA \"Level1\">1\r");
        row("1", "strV", 1, 12, 0, "-10.5", "SA \"Level1\">12=-10.5\r", "GA \"Level1\">12\r");
        row("2", "chrL", 2, 1, 3, "O", "SA \"Level1\">1>3=O\r", "GA \"Level1\">1>3\r");
        row("3 linked", "strV", 3, 1, 3, "7", "SA \"Level1\">In2>3=7\r", "GA \"Level1\">In2>3\r");
        row("4 recalls set 3", "bin8", 4, 0, 0, "3", "SS 3 \r", "GS \r");
        row("4 recalls set 26", "bin8", 4, 0, 0, "26", "SS 1a \r", "GS \r");
        row("5", "grpV", 5, 26, 0, "64", "SG 1a,64\r", "GG 1a\r");
        row("6", "strV", 6, 255, 0, "1", "SN ff,1\r", "GN ff\r");
        row("7", "strV", 7, 1, 3, "2", "SA \"TorvaLink-1\">3=2\r", "GA \"TorvaLink-1\">3\r");
        row("8", "text", 8, 1, 3, "0123", "MA \"Level1\">1=0123\r", "GA \"Level1\">0>3\r");
        row("8 empty", "text", 8, 1, 3, "", "MA \"Level1\">1\r", "GA \"Level1\">0>3\r");
    }

    void messagesOnTheWire()
    {
        QFETCH(QString, kind);
        QFETCH(int, structure);
        QFETCH(int, index1);
        QFETCH(int, index2);
        QFETCH(QString, value);
        QFETCH(QByteArray, setLine);
        QFETCH(QByteArray, getLine);
        Online link;
        QVERIFY(link.up());
        Binding binding(kind, structure, index1, index2);
        // The value as an answer would leave it (a parameter set by its number).
        if (kind == QLatin1String("bin8"))
            binding->fromInt(value.toInt());
        else
            binding->setText(value);
        QCOMPARE(PZDXProtocol::message(binding.get(), PZDXProtocol::SetMode), setLine);
        QCOMPARE(PZDXProtocol::message(binding.get(), PZDXProtocol::GetMode), getLine);
        // A set restarts whoever polls, once; a get does not.
        CountingListener listener;
        link.protocol.setListener(&listener);
        link.protocol.sendValue(binding.get());
        QCOMPARE(listener.calls, 1);
        link.protocol.requestValue(binding.get());
        QCOMPARE(listener.calls, 1);
        // One write per message: the line and its CR never travel apart.
        QCOMPARE(link.client.writes, QList<QByteArray>({setLine, getLine}));
    }

    void nothingSentWithoutBinding()
    {
        Online link;
        Binding binding(QStringLiteral("strV"), 0, 1);

        // Offline: nothing goes out.
        QVERIFY(!link.protocol.sendValue(binding.get()));
        QVERIFY(!link.protocol.requestValue(binding.get()));
        QVERIFY(link.up());
        QVERIFY(!link.protocol.sendValue(nullptr));
        QVERIFY(!link.protocol.requestValue(nullptr));
        TStrV unbound;
        QVERIFY(!link.protocol.sendValue(&unbound));
        Binding unknown(QStringLiteral("strV"), 9, 1);
        QVERIFY(!link.protocol.sendValue(unknown.get()));
        QVERIFY(!link.protocol.requestValue(unknown.get()));
        // A name-addressed message without its node would address nothing.
        binding->setNode(nullptr);
        QVERIFY(!link.protocol.sendValue(binding.get()));
        QVERIFY2(link.client.writes.isEmpty(),
                 qPrintable(QStringLiteral("expected no writes, got %1: %2")
                                .arg(link.client.writes.size())
                                .arg(printable(link.client.writes.value(0)))));
    }

    void answersAreMatchedToTheirRequest_data()
    {
        // What the call answers, the value the binding is left with, whether it
        // is still pending and how many reply waits in a row timed out.
        QTest::addColumn<int>("structure");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<QByteArray>>("reply");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("failures");

        // Gets go to index 1 (0x1a for groups), second step 3; sets send "5".
        auto get = [](const char *tag, int structure, const QList<QByteArray> &reply,
                      const QString &value, bool result = true, bool pending = false,
                      int failures = 0) {
            QTest::newRow(tag) << structure << int(PZDXProtocol::GetMode) << reply << result
                               << value << pending << failures;
        };
        auto set = [](const char *tag, int structure, const QList<QByteArray> &reply, bool result,
                      int failures) {
            QTest::newRow(tag) << structure << int(PZDXProtocol::SetMode) << reply << result
                               << QStringLiteral("5") << false << failures;
        };
        get("0 echo and value", 0, {"GA \"Level1\">1=5\r"}, "5");
        get("0 value with ; tail", 0, {"GA \"Level1\">1=-10.5;dB rest\r"}, "-10.5");
        get("2 two steps", 2, {"GA \"Level1\">1>3=7\r"}, "7");
        get("3 linked step", 3, {"GA \"Level1\">In2>3=on;\r"}, "on");
        get("7 channel label", 7, {"GA \"TorvaLink-1\">3=12\r"}, "12");
        get("8 matrix", 8, {"GA \"Level1\">0>3=2\r"}, "2");
        get("4 parameter set", 4, {"S 3\r"}, "3");
        get("5 group level", 5, {"GG 1a,64\r"}, "64");
        get("5 upper-case hex echo", 5, {"GG 1A,64\r"}, "64");
        get("6 with ; tail", 6, {"GN 1a,7;x\r"}, "7");
        get("0 NAK keeps the control pending", 0, {NakLine}, "old", true, true);
        get("5 has no NAK test", 5, {NakLine}, "old");
        get("two answers in one write, ; tails", 0, {"GA \"Level1\">1=5;a\rGA \"Level1\">1=6;b\r"},
            "5");
        get("two answers in one write, no tails", 0, {"GA \"Level1\">1=5\rGA \"Level1\">1=6\r"},
            "5");
        get("answer split in two writes", 0, {"GA \"Level1\">1=1", "23\r"}, "123");
        get("answer split before its CR", 0, {"GA \"Level1\">1=5", "\r"}, "5");
        get("CR LF line end", 0, {"GA \"Level1\">1=5\r\n"}, "5");
        get("Latin-1 value", 0, {"GA \"Level1\">1=\xe9t\xe9\r"}, QString::fromLatin1("\xe9t\xe9"));
        get("text ends at zero byte", 0, {QByteArray("GA \"Level1\">1=5\0=9\r", 19)}, "5");
        get("no CR is no answer yet", 0, {"GA \"Level1\">1=5"}, "old", false, true, 1);
        get("empty value", 0, {"GA \"Level1\">1=\r"}, "");
        get("no separator", 0, {"GA \"Level1\">1\r"}, "old");
        set("set ACK", 0, {AckLine}, true, 0);
        set("set NAK", 0, {NakLine}, false, 0);
        set("set silence", 0, {}, false, 1);
        set("parameter set recall waits for nothing", 4, {}, true, 0);

        // Answers to earlier requests that come late are skipped.
        const QByteArray late("GA \"Level1\">2=3\r");
        const QByteArray answer("GA \"Level1\">1=7\r");
        get("late answer and answer in one write", 0, {late + answer}, "7");
        get("late answer and answer in two writes", 0, {late, answer}, "7");
        get("only a late answer", 0, {late}, "old", false, true, 1);
        get("late answer of another name", 0, {"GA \"Level2\">1=9\r", answer}, "7");
        get("late group level", 5, {"GG 19,64\rGG 1a,65\r"}, "65");
        get("late group level of another kind", 6, {"GG 1a,64\r", "GN 1a,66\r"}, "66");
        get("late ACK before a get answer", 0, {AckLine, answer}, "7");
        get("thousands of late ACKs before a get answer", 0, {AckLine.repeated(20000) + answer},
            "7");
        set("late get answer before the ACK of a set", 0, {late, AckLine}, true, 0);

        // Garbage neither delivers a value nor spoils the connection.
        get("only CR", 0, {"\r"}, "old", false, true, 1);
        get("noise line, then the answer", 0, {"\x7f\xfe=999,999;\r" + answer}, "7");
        get("noise line instead of the answer", 0, {"\x7f\xfe=999,999;\r"}, "old", false, true, 1);
        get("zero byte first", 0, {QByteArray("\0GA \"Level1\">1=5\r", 17)}, "old", false, true, 1);
        get("only zero bytes", 0, {QByteArray(64, '\0')}, "old", false, true, 1);
        get("semicolon first", 0, {";GA \"Level1\">1=5\r"}, "old", false, true, 1);
        get("quote never closed", 0, {"GA \"Level1>1=5\r"}, "old", false, true, 1);
        get("only high bytes", 0, {QByteArray(300, '\xff')}, "old", false, true, 1);
        // An overlong line is dropped whole, even with an echo and a CR.
        get("overlong line", 0,
            {QByteArray("GA \"Level1\">1=") + QByteArray(200000, 'x') + '\r'}, "old", false,
            true, 1);
        get("flood without CR, then the answer", 0, {QByteArray(300000, 'x') + '\r' + answer},
            "7");
    }

    void answersAreMatchedToTheirRequest()
    {
        QFETCH(int, structure);
        QFETCH(int, mode);
        QFETCH(QList<QByteArray>, reply);
        QFETCH(bool, result);
        QFETCH(QString, value);
        QFETCH(bool, pending);
        QFETCH(int, failures);

        // Each row has a connection of its own: answers to sets carry no address,
        // so a late one could not be told from the next.
        const bool set = mode == PZDXProtocol::SetMode;
        Binding binding(QStringLiteral("text"), structure,
                        structure == 5 || structure == 6 ? 26 : 1, 3);
        binding->setText(set ? value : QStringLiteral("old"));
        const QByteArray request = PZDXProtocol::message(binding.get(), mode);
        Online link;
        link.dsp.replies.insert(request.chopped(1), reply);
        QVERIFY(link.up());

        // An answer that misses the 80 ms wait on a loaded machine is a timeout,
        // not a fault: the call is repeated until the waits go as expected.
        bool got = false;
        for (int attempt = 0; attempt < 10; ++attempt) {
            got = set ? link.protocol.sendValue(binding.get())
                      : link.protocol.requestValue(binding.get());
            // Whatever came back, a late answer is never taken as the value.
            QCOMPARE(binding->toText().left(40), got || set ? value : QStringLiteral("old"));
            // A peer that never ends its line cannot grow our memory.
            QVERIFY(link.protocol.bufferedBytes() <= PZDXProtocol::MaxLine);
            if (link.client.failureCount() == failures)
                break;
        }
        QVERIFY2(got == result,
                 qPrintable(QStringLiteral("%1 gave %2; the DSP saw %3")
                                .arg(printable(request), QLatin1String(got ? "true" : "false"),
                                     printable(link.dsp.read(link.dsp.received)))));
        QCOMPARE(link.client.failureCount(), failures);
        QCOMPARE(link.protocol.pendingTransform() == binding.get(), pending);
        QVERIFY(!link.protocol.isAwaiting());
        QTRY_VERIFY_WITH_TIMEOUT(link.dsp.read(link.dsp.received).startsWith(request), Patience);

        // The connection stays usable: a proper answer gets through again.
        Binding next(QStringLiteral("text"), 0, 2);
        for (int attempt = 0; attempt < 20 && next->toText() != QLatin1String("0"); ++attempt)
            link.protocol.requestValue(next.get());
        QCOMPARE(next->toText().left(40), QStringLiteral("0"));
    }

    void floodIsReadInBoundedBlocks()
    {
        ScriptedDsp dsp;
        QVERIFY(dsp.listen());
        ITcpClient client;
        CountingProtocol counter;
        client.setProtocol(&counter);
        QVERIFY(connectTo(client, dsp.port()));
        QCOMPARE(client.socket()->socketOption(QAbstractSocket::LowDelayOption).toInt(), 1);
        QCOMPARE(client.socket()->readBufferSize(), qint64(ITcpClient::MaxBlock));
        QTRY_COMPARE_WITH_TIMEOUT(dsp.read(dsp.connections), 1, Patience);
        auto flood = [&dsp](int total) {
            dsp.call([&dsp, total] {
                for (QTcpSocket *socket : qAsConst(dsp.clients))
                    socket->write(QByteArray(total, 'x'));
            });
        };
        const int total = 4 * 1024 * 1024;
        flood(total);
        QTRY_COMPARE_WITH_TIMEOUT(counter.total, qint64(total), 3 * Patience);
        QVERIFY2(
            counter.largest <= ITcpClient::MaxBlock,
            qPrintable(QStringLiteral("a block of %1 bytes was handed on").arg(counter.largest)));
        QVERIFY(client.receiveBuffer().size() <= ITcpClient::MaxBlock);

        // Without a protocol the client still drains the socket: the peer gets
        // rid of more than the kernel's buffers could ever hold unread.
        client.setProtocol(nullptr);
        flood(4 * total);
        auto unsent = [&dsp] {
            qint64 pending = 0;
            dsp.call([&] {
                for (QTcpSocket *socket : qAsConst(dsp.clients))
                    pending += socket->bytesToWrite();
            });
            return pending;
        };
        QTRY_COMPARE_WITH_TIMEOUT(unsent(), qint64(0), 3 * Patience);
        QCOMPARE(client.socket()->state(), QAbstractSocket::ConnectedState);
        QVERIFY(client.socket()->bytesAvailable() <= ITcpClient::MaxBlock);
    }

    void compositeForwardsToMembers()
    {
        ScriptedDsp dsp;
        QVERIFY(dsp.listen());
        IComposite composite;
        QPointer<ITcpClient> online(new ITcpClient);
        QPointer<ITcpClient> offline(new ITcpClient);
        for (ITcpClient *client : {online.data(), offline.data()})
            client->setAddress(QHostAddress(QHostAddress::LocalHost));
        online->setPort(dsp.port());
        offline->setPort(unusedPort());
        for (ITcpClient *client :
             {online.data(), offline.data(), online.data(), static_cast<ITcpClient *>(nullptr)})
            composite.add(client);
        QCOMPARE(composite.count(), 2);
        QCOMPARE(composite.countOnline(), 0);
        QVERIFY2(!composite.start(), "start() reported success though one member cannot connect");
        QTRY_COMPARE_WITH_TIMEOUT(online->state(), int(ITcpClient::Running), Patience);
        QCOMPARE(composite.countOnline(), 1);
        QSignalSpy onlineStatus(online, &IInterface::interfaceStatus);
        QSignalSpy offlineStatus(offline, &IInterface::interfaceStatus);
        composite.emitStatus();
        QCOMPARE(onlineStatus.size() + offlineStatus.size(), 2);
        QCOMPARE(statusAt(onlineStatus), 1u);
        QCOMPARE(statusAt(offlineStatus), 0u);

        // A member deleted elsewhere simply drops out.
        delete offline;
        QCOMPARE(composite.count(), 1);
        QVERIFY(composite.stop());
        QCOMPARE(composite.countOnline(), 0);
        composite.clear(false);
        QCOMPARE(composite.count(), 0);
        QVERIFY(online);
        composite.add(online);
        composite.clear(true);
        QVERIFY(!online);
    }

    void receivedFileReplacesTargetOnlyWhenComplete_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QByteArray payload;
        for (int i = 0; i < 70000; ++i)
            payload += char(i % 251);
        QTest::newRow("70000 bytes replace the earlier file") << payload;
        QTest::newRow("an empty transfer keeps the earlier file") << QByteArray();
    }

    void receivedFileReplacesTargetOnlyWhenComplete()
    {
        QFETCH(QByteArray, payload);
        TestDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("download.cpn"));
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier download");
        earlier.close();
        ITcpServer server;
        server.setListenAddress(QHostAddress(QHostAddress::LocalHost));
        server.setPort(0);
        PFileProtocol protocol;
        QVERIFY2(!protocol.receiveFile(target), "receiving without an interface");
        protocol.setInterface(&server);
        server.setProtocol(&protocol);
        QVERIFY(server.start());
        QVERIFY(server.isListening());
        QVERIFY(protocol.receiveFile(target));
        QVERIFY(protocol.isReceiving());
        QVERIFY(QFile::exists(target + QLatin1Char('t')));
        QSignalSpy received(&protocol, &PFileProtocol::fileReceived);
        QSignalSpy closed(&server, &IInterface::connectionClose);
        QTcpSocket sender;
        sender.connectToHost(QHostAddress(QHostAddress::LocalHost), server.port());
        QTRY_VERIFY_WITH_TIMEOUT(server.clientSocket() != nullptr, Patience);
        // The server serves one client at a time: it stops listening meanwhile.
        QVERIFY(!server.isListening());
        QTcpSocket second;
        QSignalSpy refused(&second, &QTcpSocket::errorOccurred);
        second.connectToHost(QHostAddress(QHostAddress::LocalHost), server.port());
        QTRY_VERIFY_WITH_TIMEOUT(!refused.isEmpty(), Patience);
        QCOMPARE(refused.first().at(0).value<QAbstractSocket::SocketError>(),
                 QAbstractSocket::ConnectionRefusedError);
        // The served client hears what the interface writes.
        QCOMPARE(server.write("hello", 5), qint64(5));
        QTRY_COMPARE_WITH_TIMEOUT(sender.bytesAvailable(), qint64(5), Patience);
        QCOMPARE(sender.readAll(), QByteArray("hello"));
        sender.write(payload);
        sender.disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, Patience);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(received.first().at(0).toBool(), !payload.isEmpty());
        QVERIFY(!protocol.isReceiving());
        QVERIFY(!QFile::exists(target + QLatin1Char('t')));
        QFile stored(target);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const QByteArray content = stored.readAll();
        const QByteArray expected = payload.isEmpty() ? QByteArray("earlier download") : payload;
        QVERIFY2(content == expected, qPrintable(QStringLiteral("stored %1 bytes, expected %2")
                                                     .arg(content.size())
                                                     .arg(expected.size())));
        QVERIFY(server.stop());
        QVERIFY(!server.clientSocket());
        QCOMPARE(server.write("x", 1), qint64(0));
    }

    void sendFileWritesEveryByte()
    {
        TestDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("panel.cpf"));
        QByteArray payload;
        for (int i = 0; i < 10000; ++i)
            payload += char('A' + i % 26);
        payload[5000] = '\r';
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(payload);
        file.close();
        ScriptedDsp dsp;
        dsp.silent = true;
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
        QTRY_COMPARE_WITH_TIMEOUT(dsp.read(dsp.received).size(), payload.size(), Patience);
        QVERIFY(dsp.read(dsp.received) == payload);
    }
};

ZRB_MODEL_TEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
