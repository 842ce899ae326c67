#include "common/EditorTestSupport.h"
#include "common/ScriptedDsp.h"

#include "app/MModel.h"
#include "app/MOnlineSession.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/IComposite.h"
#include "device/ITcpClient.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CLoadContext.h"

#include <QApplication>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QQuickItem>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const int Patience = 15000;
const QString Gain = QStringLiteral(
    "<range><index1>1</index1><minimum>-60</minimum><maximum>12</maximum><step>0.5</step>"
    "<format>nn.n</format><transform>strV</transform></range>");

// A port on 127.0.0.1 that nothing listens on.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// The get line a control on block gets polled with.
QByteArray getLine(const QString &block)
{
    return QStringLiteral("GA \"%1\">1").arg(block).toLatin1();
}

} // namespace

// The online session against scripted DSPs on the loopback address: every
// chassis of these designs is 127.0.0.1 with the port of a peer of the test.
class TestOnline : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CCanvas> m_pCanvas;
    std::unique_ptr<MModel> m_pModel;
    std::unique_ptr<QQuickItem> m_pRoot;

    HChassis *addChassis(const QString &label, quint16 port)
    {
        auto *chassis = new HChassis();
        chassis->setLabel(label);
        chassis->setIpAddress(QStringLiteral("127.0.0.1"));
        chassis->setSerialPortNumber(QString::number(port));
        m_pModel->hardwareRoot()->addChild(chassis);
        return chassis;
    }

    // A fader on the current panel bound to block of chassis.
    CControl *addControl(const QString &block, const QString &chassis)
    {
        CComposite *panel = m_pModel->currentPanel();
        const int before = panel->childCount();
        CLoadContext context;
        context.hardware = m_pModel->hardwareRoot();
        const QString text =
            QStringLiteral("<?xml version=\"1.0\"?><ZDX><Controls><Control name=\"%1\" "
                           "type=\"Slider\"><block>%1</block><connection>%2</connection>"
                           "<Property name=\"attributes\">%3</Property></Control></Controls></ZDX>")
                .arg(block, chassis, Gain);
        QString error;
        if (!panel->loadString(text, context, &error))
            qWarning() << error;
        return panel->childCount() > before ? panel->childAt(before) : nullptr;
    }

    QString indicator() const { return m_pRoot->property("connectInd").toString(); }
    QTimer *pollingTimer() const
    {
        return m_pModel->findChild<QTimer *>(QStringLiteral("polling"));
    }

private slots:
    void init()
    {
        m_pRoot = std::make_unique<QQuickItem>();
        m_pCanvas = std::make_unique<CCanvas>();
        m_pModel = std::make_unique<MModel>();
        m_pModel->setCanvas(m_pCanvas.get());
        m_pModel->initialize();
        m_pModel->setQmlRoot(m_pRoot.get());
        QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    }

    void cleanup()
    {
        m_pModel.reset();
        m_pCanvas.reset();
        m_pRoot.reset();
    }

    // The indicator counts the chassis that answer; a chassis whose DSP goes
    // away turns it red, and the session is back by itself once it returns.
    void indicatorFollowsChassis_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("answering"); // of two chassis
        QTest::addColumn<QString>("colour");
        QTest::newRow("none answers") << "Light" << 0 << "red";
        QTest::newRow("one of two answers") << "Light" << 1 << "ylw";
        QTest::newRow("both answer") << "Light" << 2 << "grn";
        QTest::newRow("both answer, dark skin") << "Dark" << 2 << "grn";
    }

    void indicatorFollowsChassis()
    {
        QFETCH(QString, skin);
        QFETCH(int, answering);
        QFETCH(QString, colour);
        m_pCanvas->setSkin(skin);
        ScriptedDsp first;
        ScriptedDsp second;
        QVERIFY(first.listen() && second.listen());
        addChassis(QStringLiteral("A"), answering > 0 ? first.port() : closedPort());
        addChassis(QStringLiteral("B"), answering > 1 ? second.port() : closedPort());
        m_pModel->goOnline(true);
        QVERIFY(m_pModel->isOnline());
        QVERIFY(pollingTimer() && pollingTimer()->isActive());
        QCOMPARE(pollingTimer()->interval(), 1000);
        QCOMPARE(m_pModel->interfaces()->count(), 2);
        const QString expected =
            QStringLiteral("../../images/skins/%1/indicator_%2.png").arg(skin, colour);
        QTRY_COMPARE_WITH_TIMEOUT(indicator(), expected, Patience);
        QVERIFY(
            QFile::exists(QStringLiteral(":/images/skins/%1/indicator_%2.png").arg(skin, colour)));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_pModel->session()->networkStatusText(),
            QStringLiteral("A%1\n\nB%2\n\n")
                .arg(answering > 0 ? " - Online - Running" : " - Offline - Reconnecting",
                     answering > 1 ? " - Online - Running" : " - Offline - Reconnecting"),
            Patience);

        m_pModel->goOnline(false);
        QVERIFY(!m_pModel->isOnline());
        QVERIFY(!pollingTimer()->isActive());
        QCOMPARE(indicator(), QStringLiteral("../../images/skins/%1/indicator_red.png").arg(skin));
    }

    void droppedChassisComesBack()
    {
        auto dsp = std::make_unique<ScriptedDsp>();
        QVERIFY(dsp->listen());
        const quint16 port = dsp->port();
        HChassis *chassis = addChassis(QStringLiteral("Only"), port);
        CControl *control = addControl(QStringLiteral("Gain1"), QStringLiteral("Only"));
        QVERIFY(control && control->transform());
        m_pModel->goOnline(true);
        QTRY_VERIFY_WITH_TIMEOUT(indicator().endsWith(QLatin1String("indicator_grn.png")),
                                 Patience);

        dsp.reset();
        QTRY_VERIFY_WITH_TIMEOUT(indicator().endsWith(QLatin1String("indicator_red.png")),
                                 Patience);
        // Polling a panel whose only DSP is gone sends nothing and waits for nothing.
        m_pModel->doPolling();
        QCOMPARE(chassis->interface()->status(), 0u);

        dsp = std::make_unique<ScriptedDsp>();
        QVERIFY(dsp->listen(port));
        QTRY_VERIFY_WITH_TIMEOUT(indicator().endsWith(QLatin1String("indicator_grn.png")),
                                 Patience);
        QVERIFY(m_pModel->isOnline());
        QTRY_VERIFY_WITH_TIMEOUT(dsp->read(dsp->received).contains(getLine("Gain1")), Patience);
    }

    // A round polls the controls in order; a silent DSP costs one wait per
    // round, not one per control, and a chassis that is down costs none and
    // does not keep the others' controls from being refreshed.
    void pollingRoundStopsAtFirstFailure_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("firstOffline"); // the first control is on a chassis that is down
        QTest::addColumn<int>("requests");
        QTest::newRow("answering DSP") << false << false << 3;
        QTest::newRow("silent DSP") << true << false << 1;
        QTest::newRow("first control's chassis offline") << false << true << 2;
    }

    void pollingRoundStopsAtFirstFailure()
    {
        QFETCH(bool, silent);
        QFETCH(bool, firstOffline);
        QFETCH(int, requests);
        ScriptedDsp dsp;
        dsp.silent = silent;
        QVERIFY(dsp.listen());
        addChassis(QStringLiteral("Proc"), dsp.port());
        addChassis(QStringLiteral("Down"), closedPort());
        QVERIFY(addControl(QStringLiteral("Lead"), firstOffline ? "Down" : "Proc"));
        for (const QString &block : {QStringLiteral("Gain1"), QStringLiteral("Gain2")})
            QVERIFY(addControl(block, QStringLiteral("Proc")));
        m_pModel->goOnline(true);
        QTRY_VERIFY_WITH_TIMEOUT(m_pModel->interfaces()->countOnline() == 1, Patience);
        dsp.call([&dsp] { dsp.received.clear(); });

        pollingTimer()->stop(); // the round below is the only one
        m_pModel->doPolling();
        const QList<QByteArray> lines = dsp.read(dsp.received).split('\r');
        QCOMPARE(lines.count() - 1, requests);
        if (requests > 0)
            QCOMPARE(lines.first(), getLine(firstOffline ? "Gain1" : "Lead"));
    }

    // A value the user sends puts the next poll a whole interval away.
    void userChangePostponesPolling()
    {
        ScriptedDsp dsp;
        QVERIFY(dsp.listen());
        HChassis *chassis = addChassis(QStringLiteral("Proc"), dsp.port());
        CControl *control = addControl(QStringLiteral("Gain1"), QStringLiteral("Proc"));
        QVERIFY(control && control->transform());
        m_pModel->goOnline(true);
        QTRY_VERIFY_WITH_TIMEOUT(chassis->interface()->status() == 1u, Patience);
        QTimer *timer = pollingTimer();
        QTRY_VERIFY_WITH_TIMEOUT(timer->remainingTime() >= 0 && timer->remainingTime() < 800,
                                 Patience);
        QVERIFY(chassis->protocol()->sendValue(control->transform()));
        QVERIFY2(timer->isActive() && timer->remainingTime() > 900,
                 qPrintable(QString::number(timer->remainingTime())));

        // Offline a change does not start the timer.
        m_pModel->goOnline(false);
        m_pModel->userChangedValue();
        QVERIFY(!timer->isActive());
    }

    // Garbage, floods and NAKs reach no control but the one that asked, and
    // the session goes on.
    void faultyAnswersReachNoOtherControl_data()
    {
        QTest::addColumn<QByteArray>("answer"); // to the first control's request
        QTest::newRow("garbage") << QByteArray("\x01\x02\xff garbage without separator\r");
        QTest::newRow("NAK") << QByteArray("\x15\r");
        QTest::newRow("flood") << QByteArray(300 * 1024, '=') + '\r';
        QTest::newRow("two answers in one")
            << QByteArray("GA \"First\">1=-3\rGA \"Second\">1=-9\r");
    }

    void faultyAnswersReachNoOtherControl()
    {
        QFETCH(QByteArray, answer);
        ScriptedDsp dsp;
        dsp.replies.insert(getLine("First"), {answer});
        dsp.replies.insert(getLine("Second"), {QByteArray("GA \"Second\">1=-12.5\r")});
        QVERIFY(dsp.listen());
        HChassis *chassis = addChassis(QStringLiteral("Proc"), dsp.port());
        CControl *first = addControl(QStringLiteral("First"), QStringLiteral("Proc"));
        CControl *second = addControl(QStringLiteral("Second"), QStringLiteral("Proc"));
        QVERIFY(first && second);
        m_pModel->goOnline(true);
        QTRY_VERIFY_WITH_TIMEOUT(chassis->interface()->status() == 1u, Patience);
        pollingTimer()->stop();
        for (int round = 0; round < 3; ++round)
            m_pModel->doPolling();
        QVERIFY2(second->transform()->toText() != QLatin1String("-9.0") &&
                     second->transform()->toText() != QLatin1String("-9"),
                 qPrintable(second->transform()->toText()));
        QVERIFY(m_pModel->isOnline());
        // Once the DSP answers properly, each control shows its own value.
        dsp.call([&dsp] { dsp.replies.insert(getLine("First"), {"GA \"First\">1=-3\r"}); });
        // A flood may still be draining: the rounds line up again once it has.
        QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                     m_pModel->doPolling();
                                     return first->transform()->toFloat() == -3.0f &&
                                            second->transform()->toFloat() == -12.5f;
                                 }()),
                                 Patience);
    }

    // The window leaving and coming back takes the connections down and up,
    // only while online.
    void applicationStateMovesConnections()
    {
        ScriptedDsp dsp;
        QVERIFY(dsp.listen());
        HChassis *chassis = addChassis(QStringLiteral("Proc"), dsp.port());
        QVERIFY(addControl(QStringLiteral("Gain1"), QStringLiteral("Proc")));
        auto *client = qobject_cast<ITcpClient *>(chassis->createInterface());
        QVERIFY(client);
        m_pModel->rebuildInterfaces();
        m_pModel->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY2(!client->socket(), "offline, coming back must not connect");

        m_pModel->goOnline(true);
        QTRY_COMPARE_WITH_TIMEOUT(client->status(), 1u, Patience);
        // Another window taking the focus leaves the connection alone.
        m_pModel->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(client->socket());
        m_pModel->applicationStateChanged(Qt::ApplicationSuspended);
        QVERIFY(!client->socket());
        QCOMPARE(client->status(), 0u);
        m_pModel->applicationStateChanged(Qt::ApplicationActive);
        QTRY_COMPARE_WITH_TIMEOUT(client->status(), 1u, Patience);
    }

    void localAddressesLeaveOutLoopbackAndIpv6()
    {
        const QStringList lines = MOnlineSession::localAddressText().split(QLatin1Char('\n'));
        QCOMPARE(lines.last(), QString()); // every address ends its line
        QStringList expected;
        for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                expected << address.toString();
        }
        QCOMPARE(lines.mid(0, lines.count() - 1), expected);
    }
};

ZRB_TEST_MAIN(TestOnline)
#include "tst_online.moc"
