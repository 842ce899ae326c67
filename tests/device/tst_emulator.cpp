#include "common/EmulatorThread.h"
#include "common/ScriptedDsp.h"
#include "common/TestSupport.h"

#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/ILoopbackRedirect.h"
#include "device/ITcpClient.h"
#include "device/PZDXProtocol.h"
#include "device/TTransform.h"
#include "device/TTransformFactory.h"
#include "document/CAttributes.h"
#include "document/CComposite.h"
#include "document/CControl.h"
#include "document/CDocument.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QtTest>

#include <memory>

namespace {

const int Patience = 10000;
const QString Design = QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp");
const QString Panel = QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.cpz");
const QByteArray Ack("\x06\r");
const QByteArray Nak("\x15\r");

QList<HChassis *> chassisOf(HRoot *root)
{
    QList<HChassis *> list;
    for (HNode *child : root->children()) {
        if (auto *chassis = dynamic_cast<HChassis *>(child))
            list << chassis;
    }
    return list;
}

HNode *nodeLabelled(HNode *node, const QString &label)
{
    if (node->label() == label)
        return node;
    if (auto *composite = dynamic_cast<HComposite *>(node)) {
        for (HNode *child : composite->children()) {
            if (HNode *found = nodeLabelled(child, label))
                return found;
        }
    }
    return nullptr;
}

} // namespace

class TestEmulator : public QObject
{
    Q_OBJECT

private slots:
    void answersAsTheDeviceWould_data()
    {
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::addColumn<QList<QByteArray>>("answers");
        auto row = [](const char *tag, QList<QByteArray> requests, QList<QByteArray> answers) {
            QTest::newRow(tag) << requests << answers;
        };
        row("get: the range's minimum, in the echo form", {"GA \"Presenter\">1"},
            {"GA \"Presenter\">1=-60.0\r"});
        row("get: the list's first entry", {"GA \"Presenter\">2"}, {"GA \"Presenter\">2=F\r"});
        row("set is acknowledged and kept", {"SA \"Presenter\">1=-12.5", "GA \"Presenter\">1"},
            {Ack, "GA \"Presenter\">1=-12.5\r"});
        row("group level, hex in any case", {"SG 0,40", "GG 00"}, {Ack, "GG 0,40\r"});
        row("parameter set recalled in hex, queried as a number", {"SS 1a ", "GS "},
            {Ack, "GS 26\r"});
        row("unknown object", {"GA \"Nowhere\">1", "SA \"Nowhere\">1=3"}, {Nak, Nak});
        row("unknown index", {"GA \"Presenter\">9", "SA \"Presenter\">9=1"}, {Nak, Nak});
        row("another chassis's parameter", {"GA \"Annex Level\">1"}, {Nak});
        row("bad recall number", {"SS zz "}, {Nak});
        row("noise", {"hello", "SA \"Presenter>1=3"}, {Nak, Nak});
    }

    void answersAsTheDeviceWould()
    {
        QFETCH(QList<QByteArray>, requests);
        QFETCH(QList<QByteArray>, answers);
        PDspEmulator emulator;
        QVERIFY2(emulator.load(Design), qPrintable(emulator.errorString()));
        PDspChassis *room = emulator.chassis(QStringLiteral("Room A"));
        QVERIFY(room);
        QList<QByteArray> got;
        for (const QByteArray &request : requests)
            got << room->answer(request);
        QCOMPARE(got, answers);
    }

    void misbehaviourNeverShowsAWrongValue_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("closeAfter");
        QTest::addColumn<bool>("garbage");
        QTest::addColumn<bool>("split");
        QTest::addColumn<bool>("answered");
        QTest::newRow("well behaved") << 0 << false << 0 << false << false << true;
        QTest::newRow("answers split in two writes") << 0 << false << 0 << false << true << true;
        QTest::newRow("answers 300 ms late") << 300 << false << 0 << false << false << false;
        QTest::newRow("silent") << 0 << true << 0 << false << false << false;
        QTest::newRow("noise instead of answers") << 0 << false << 0 << true << false << false;
        QTest::newRow("closes after each message") << 0 << false << 1 << false << false << true;
    }

    void misbehaviourNeverShowsAWrongValue()
    {
        QFETCH(int, delay);
        QFETCH(bool, silent);
        QFETCH(int, closeAfter);
        QFETCH(bool, garbage);
        QFETCH(bool, split);
        QFETCH(bool, answered);
        EmulatorThread dsp;
        QVERIFY(dsp.start(Design));
        QCOMPARE(dsp.answer(QStringLiteral("Room A"), "SA \"Presenter\">1=-12.5"), Ack);
        ITcpClient client;
        PZDXProtocol protocol;
        protocol.setInterface(&client);
        client.setProtocol(&protocol);
        QVERIFY(connectTo(client, dsp.port(QStringLiteral("Room A"))));

        HBlock node;
        node.setLabel(QStringLiteral("Presenter"));
        CAttributes attributes;
        attributes.setIndex1(1);
        std::unique_ptr<TTransform> level(TTransformFactory::create(QStringLiteral("strV")));
        level->setAttributes(&attributes);
        level->setNode(&node);
        level->setText(QStringLiteral("old"));

        PDspChassis::Behaviour behaviour;
        behaviour.delay = delay;
        behaviour.silent = silent;
        behaviour.closeAfter = closeAfter;
        behaviour.garbage = garbage;
        behaviour.split = split;
        dsp.setBehaviour(behaviour);
        // Asked again, a late answer would come in time for a later request.
        bool got = false;
        for (int attempt = 0; attempt < (answered ? 10 : 1) && !got; ++attempt) {
            got = protocol.requestValue(level.get());
            const QString shown = level->toText();
            QVERIFY2(shown == QLatin1String("old") || shown == QLatin1String("-12.5"),
                     qPrintable(QStringLiteral("attempt %1 showed %2").arg(attempt).arg(shown)));
        }
        QCOMPARE(got, answered);
        QCOMPARE(level->toText(), answered ? QStringLiteral("-12.5") : QStringLiteral("old"));

        // Behaving again, the device is heard again on the same client.
        dsp.setBehaviour(PDspChassis::Behaviour());
        QTRY_VERIFY_WITH_TIMEOUT(protocol.requestValue(level.get()) &&
                                     level->toText() == QLatin1String("-12.5"),
                                 3 * Patience);
        QVERIFY(protocol.bufferedBytes() == 0);
    }

    void redirectRule_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("target"); // empty: no target
        QTest::newRow("loopback stays") << "127.0.0.1"
                                        << "10055" << 0 << 20055 << "127.0.0.1:10055";
        QTest::newRow("other loopback stays") << "127.0.0.5"
                                              << "4000" << 3 << 20055 << "127.0.0.5:4000";
        QTest::newRow("IPv6 loopback stays") << "::1"
                                             << "10055" << 1 << 20055 << "::1:10055";
        QTest::newRow("LAN, first chassis") << "192.168.10.20"
                                            << "10055" << 0 << 20055 << "127.0.0.1:20055";
        QTest::newRow("LAN, third chassis") << "192.168.10.30"
                                            << "10055" << 2 << 20055 << "127.0.0.1:20057";
        QTest::newRow("loopback without a port") << "127.0.0.1"
                                                 << "x" << 1 << 20055 << "127.0.0.1:20056";
        QTest::newRow("no address") << ""
                                    << "10055" << 4 << 30000 << "127.0.0.1:30004";
        QTest::newRow("host name") << "dsp.example"
                                   << "10055" << 1 << 20055 << "127.0.0.1:20056";
        QTest::newRow("beyond the last port") << "10.0.0.1"
                                              << "10055" << 10 << 65530 << "";
        QTest::newRow("base 0: any free port") << "10.0.0.1"
                                               << "10055" << 2 << 0 << "127.0.0.1:0";
    }

    void redirectRule()
    {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(int, index);
        QFETCH(int, base);
        QFETCH(QString, target);
        const ILoopbackRedirect::Target got =
            ILoopbackRedirect::target(address, port, index, quint16(base));
        QCOMPARE(got.valid ? got.address.toString() + QLatin1Char(':') + QString::number(got.port)
                           : QString(),
                 target);
    }

    void redirectReachesOnlyLoopback()
    {
        // The program opens the panel archive, the emulator the design file:
        // both must count the chassis alike.
        PDspEmulator emulator;
        QVERIFY(emulator.load(Design));
        QStringList served;
        for (PDspChassis *chassis : emulator.chassis())
            served << chassis->label();
        CDocument document;
        QVERIFY2(document.open(Panel), qPrintable(document.lastError()));
        const QList<HChassis *> chassis = chassisOf(document.hardware());
        QStringList opened;
        for (HChassis *node : chassis)
            opened << node->label();
        QCOMPARE(opened, served);

        ILoopbackRedirect::setEnabled(true, 21000);
        auto restore = qScopeGuard([] { ILoopbackRedirect::setEnabled(false); });
        for (HChassis *node : chassis) {
            QVERIFY2(!QHostAddress(node->ipAddress()).isLoopback(), "the example is on the LAN");
            auto *client = qobject_cast<ITcpClient *>(node->createInterface());
            QVERIFY(client);
            QVERIFY2(client->address().isLoopback(), qPrintable(client->addressText()));
            QCOMPARE(int(client->port()), 21000 + node->designIndex());
        }
    }

    void pollingGoesOnPastADeadChassis_data()
    {
        QTest::addColumn<bool>("annexListens");
        QTest::newRow("annex down") << false;
        QTest::newRow("annex connected but silent") << true;
    }

    void pollingGoesOnPastADeadChassis()
    {
        QFETCH(bool, annexListens);
        EmulatorThread dsp;
        QVERIFY(dsp.start(Design));
        ScriptedDsp annexDsp;
        annexDsp.silent = true;
        QVERIFY(annexDsp.listen());
        quint16 annexPort = annexDsp.port();
        if (!annexListens) {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            annexPort = probe.serverPort();
        }

        CDocument document;
        QVERIFY(document.loadDesign(Design));
        HRoot *root = document.hardware();
        // A loopback design: Room A is the emulator, the annex is dead.
        auto *room = dynamic_cast<HChassis *>(nodeLabelled(root, QStringLiteral("Room A")));
        auto *annex = dynamic_cast<HChassis *>(nodeLabelled(root, QStringLiteral("Annex")));
        QVERIFY(room && annex);
        room->setIpAddress(QStringLiteral("127.0.0.1"));
        room->setSerialPortNumber(QString::number(dsp.port(QStringLiteral("Room A"))));
        annex->setIpAddress(QStringLiteral("127.0.0.1"));
        annex->setSerialPortNumber(QString::number(annexPort));

        // Annex, Room A, Annex, Room A: the annex's controls come first.
        CComposite panel;
        const QList<QPair<QString, QString>> placed = {{"Annex Level", "Level"},
                                                       {"Room Speakers", "Level"},
                                                       {"Annex Speakers", "Level"},
                                                       {"Program Level", "Level"}};
        QList<CControl *> controls;
        for (const auto &place : placed) {
            HNode *node = nodeLabelled(root, place.first);
            QVERIFY2(node, qPrintable(place.first));
            CControl *control = panel.loadNodeControl(root, node, place.second, QPointF());
            QVERIFY2(control && control->transform(), qPrintable(place.first));
            control->transform()->setText(QStringLiteral("old"));
            controls << control;
        }
        QCOMPARE(dsp.answer(QStringLiteral("Room A"), "SA \"Room Speakers\">1=-3.0"), Ack);
        QCOMPARE(dsp.answer(QStringLiteral("Room A"), "SA \"Program Level\">1=-7.5"), Ack);

        QVERIFY(room->startConnection());
        QTRY_COMPARE_WITH_TIMEOUT(room->interface()->status(), 1u, Patience);
        annex->startConnection();
        if (annexListens)
            QTRY_COMPARE_WITH_TIMEOUT(annex->interface()->status(), 1u, Patience);

        // A loaded machine may miss a reply wait: the round is repeated then.
        for (int round = 0; round < 10; ++round) {
            annexDsp.call([&annexDsp] { annexDsp.received.clear(); });
            QVERIFY2(!panel.poll(), "a round with a dead chassis reported success");
            // The dead chassis is asked at most once a round.
            QVERIFY(annexDsp.read(annexDsp.received).count('\r') <= 1);
            if (controls.at(3)->transform()->toText() == QLatin1String("-7.5"))
                break;
        }
        QCOMPARE(controls.at(0)->transform()->toText(), QStringLiteral("old"));
        QCOMPARE(controls.at(1)->transform()->toText(), QStringLiteral("-3.0"));
        QCOMPARE(controls.at(2)->transform()->toText(), QStringLiteral("old"));
        QCOMPARE(controls.at(3)->transform()->toText(), QStringLiteral("-7.5"));
        room->stopConnection();
        annex->stopConnection();
    }
};

ZRB_MODEL_TEST_MAIN(TestEmulator)
#include "tst_emulator.moc"
