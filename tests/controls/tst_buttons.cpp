#include "common/EditorTestSupport.h"
#include "common/ScriptedDsp.h"

#include "app/MModel.h"
#include "controls/WButton.h"
#include "controls/WCmdButton.h"
#include "controls/WSlider.h"
#include "controls/WTextLink.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/ITcpClient.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CLoadContext.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QTest>

#include <memory>

namespace {

const QString Box = QStringLiteral("<x>0</x><y>0</y><width>50</width><height>20</height>"
                                   "<xfract>0</xfract><yfract>0</yfract><widthfract>1</widthfract>"
                                   "<heightfract>1</heightfract>");
const QString Gain = QStringLiteral("<range><index1>1</index1><minimum>-60</minimum><maximum>12"
                                    "</maximum><step>%1</step><units>%2</units><format>nn.n"
                                    "</format><transform>strV</transform></range>");
const QString Mute = QStringLiteral("<list><index1>%1</index1><set>F,O,T</set><transform>%2"
                                    "</transform></list>");
const QString ParamSet =
    QStringLiteral("<list><struct>4</struct><transform>bin8</transform></list>");

// A control as a panel file holds it; with a block, bound to that block of
// the chassis "Proc".
QString control(const QString &type, const QString &items, const QString &attributes = QString(),
                const QString &block = QString(), const QString &name = QStringLiteral("Level"))
{
    const QString binding =
        block.isEmpty()
            ? QString()
            : QStringLiteral("<block>%1</block><connection>Proc</connection>").arg(block);
    return QStringLiteral("<Control name=\"%1\" type=\"%2\">%3<id>7</id><Property name=\"widget\">"
                          "%4</Property><Property name=\"attributes\">%5</Property></Control>")
        .arg(name, type, binding, items, attributes);
}

QString item(const QString &type, const QString &values)
{
    return QStringLiteral("<%1>%2</%1>").arg(type, values);
}

QString slider(int id, int link)
{
    return item("slider", QStringLiteral("<id>%1</id><link>%2</link>").arg(id).arg(link) + Box);
}

// The item written as the file would hold it, without layout whitespace.
QString written(WWidget *item)
{
    QString xml = TestSupport::writtenXml([&](XmlWriter &writer) { item->writeXml(&writer); });
    return xml.remove(QLatin1Char('\n')).remove(QLatin1Char('\t'));
}

// Records the texts a command button hands over.
class RecordingItem : public WWidget
{
public:
    void inputText(const QString &text) override { texts << text; }
    QStringList texts;
};

} // namespace

// The button, command button, slider and text link inside their real QML
// components, read from panel-file text; online ones talk to a scripted DSP
// on the loopback address.
class TestButtons : public QObject
{
    Q_OBJECT

private:
    CCanvas *m_pCanvas = nullptr;
    MModel *m_pModel = nullptr;
    VQmlFrame *m_pFrame = nullptr;
    QQuickItem *m_pContent = nullptr;
    QStringList m_warnings;
    std::unique_ptr<ScriptedDsp> m_pDsp;
    std::unique_ptr<ITcpClient> m_pClient;
    HChassis *m_pChassis = nullptr;

    CControl *read(const QString &controls)
    {
        CLoadContext context;
        context.hardware = m_pModel->hardwareRoot();
        CComposite *panel = m_pModel->currentPanel();
        const int before = panel->childCount();
        QString error;
        const QString text = QStringLiteral("<?xml version=\"1.0\"?><ZDX><Controls>%1</Controls>"
                                            "</ZDX>");
        if (!panel->loadString(text.arg(controls), context, &error))
            qWarning() << error;
        return panel->childCount() > before ? panel->childAt(panel->childCount() - 1) : nullptr;
    }

    static WWidget *widget(CControl *control, int index = 0)
    {
        CItem *item = control ? control->items().value(index) : nullptr;
        return item ? qobject_cast<WWidget *>(item->itemObject()) : nullptr;
    }

    QByteArray received() { return m_pDsp->read(m_pDsp->received); }
    void forgetReceived()
    {
        m_pDsp->call([this] { m_pDsp->received.clear(); });
    }

private slots:
    // Every test has the chassis "Proc", its protocol online with a scripted DSP.
    void init()
    {
        m_warnings.clear();
        m_pCanvas = new CCanvas();
        m_pModel = new MModel();
        m_pModel->setCanvas(m_pCanvas);
        m_pFrame = new VQmlFrame();
        connect(m_pFrame->engine(), &QQmlEngine::warnings, this,
                [this](const QList<QQmlError> &list) {
                    for (const QQmlError &error : list)
                        m_warnings << error.toString();
                });
        m_pFrame->initialize(true);
        m_pModel->setQmlFrame(m_pFrame);
        m_pFrame->setModel(m_pModel);
        m_pContent = new QQuickItem();
        m_pModel->setCanvasItem(m_pContent);
        m_pModel->rebindFactory(m_pFrame->engine()->rootContext());
        m_pModel->initialize();
        QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));

        m_pChassis = new HChassis();
        m_pChassis->setLabel(QStringLiteral("Proc"));
        m_pModel->hardwareRoot()->addChild(m_pChassis);
        m_pDsp.reset(new ScriptedDsp());
        m_pClient.reset(new ITcpClient());
        m_pClient->setProtocol(m_pChassis->protocol());
        m_pChassis->protocol()->setInterface(m_pClient.get());
        QVERIFY(m_pDsp->listen() && connectTo(*m_pClient, m_pDsp->port()));
    }

    void cleanup()
    {
        m_pClient->stop();
        m_pClient->setProtocol(nullptr);
        m_pChassis->protocol()->setInterface(nullptr);
        delete m_pFrame;
        delete m_pContent;
        delete m_pModel;
        delete m_pCanvas;
        m_pClient.reset();
        m_pDsp.reset();
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(QLatin1Char('\n'))));
    }

    void readAndWrite_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("written"); // empty: the values as read

        const QString alternating = "<hasBorder>1</hasBorder><action>alternating</action>";
        const QString fractions = "<x>0</x><y>0</y><width>50</width><height>20</height><xfract>"
                                  "0.25</xfract><yfract>0.5</yfract><widthfract>0.5</widthfract>"
                                  "<heightfract>0.25</heightfract>";
        const QString skinned = "<onimage>../images/skins/Accent/Blue/mute_on.png</onimage>"
                                "<offimage>../images/skins/Light/mute_off.png</offimage>";
        // clang-format off
        QTest::newRow("button captions") << "button" << "<id>3</id><link>4</link>" + Box + "<ontext>On</ontext><offtext>Off</offtext><hasBorder>0</hasBorder><action>momentary</action>" << "";
        QTest::newRow("button title") << "button" << Box + "<title>Mute</title>" + alternating << Box + "<ontext>Mute</ontext><offtext>Mute</offtext>" + alternating;
        QTest::newRow("button fractions") << "button" << fractions + alternating << "";
        QTest::newRow("button mute pictures") << "button" << Box + "<onimage>mute_on.png</onimage><offimage>mute_off</offimage><imagesize>0.8</imagesize>" + alternating << Box + skinned + "<imagesize>0.8</imagesize>" + alternating;
        QTest::newRow("button skinned pictures") << "button" << Box + skinned + "<imagesize>0.5</imagesize>" + alternating << "";
        QTest::newRow("command caption") << "cmdbutton" << Box + "<title>1</title><hasBorder>0</hasBorder><command>1</command>" << "";
        QTest::newRow("command built-in picture") << "cmdbutton" << Box + "<onimage>ButtonIcon</onimage><hasBorder>1</hasBorder><command>*</command>" << Box + "<onimage>../images/ButtonIcon.png</onimage><offimage></offimage><imagesize>0.75</imagesize><hasBorder>1</hasBorder><command>*</command>";
        QTest::newRow("command picture file") << "cmdbutton" << Box + "<onimage>../images/default.png</onimage><offimage>x.png</offimage><imagesize>0.5</imagesize><hasBorder>0</hasBorder><command>#</command>" << "";
        QTest::newRow("slider") << "slider" << "<id>1</id><link>2</link>" + Box + "<orient>vertical</orient><knobcolor>#ff102030</knobcolor>" << "";
        QTest::newRow("slider defaults") << "slider" << Box + "<orient>horizontal</orient><title>x</title>" << Box + "<orient>vertical</orient><knobcolor>#ffffffff</knobcolor>";
        QTest::newRow("text link") << "textlink" << Box + "<text>Hall</text><paramidx>3</paramidx>" + alternating + "<buttonmode>Blank</buttonmode>" << "";
        QTest::newRow("text link unbound") << "textlink" << Box + "<text>?</text><index>2</index><scale>1</scale>" + alternating + "<buttonmode>Button</buttonmode>" << Box + "<text>?</text><paramidx>2</paramidx>" + alternating + "<buttonmode>Button</buttonmode>";
        // clang-format on
    }

    void readAndWrite()
    {
        QFETCH(QString, type);
        QFETCH(QString, values);
        QFETCH(QString, written);
        WWidget *read = widget(this->read(control(type, item(type, values))));
        QVERIFY(read);
        QCOMPARE(::written(read), item(type, written.isEmpty() ? values : written));
    }

    // Each user change leaves as exactly one message, through the control's
    // transform; values the device reports are shown and never sent back.
    void deviceMessages_data()
    {
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QByteArray>("reply");  // request, tab, answer; empty: the default
        QTest::addColumn<QStringList>("steps"); // slot calls, or "value N" to move the QML
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("property"); // of the root; "display": the transform's
        QTest::addColumn<QString>("shown");

        const QString button = item("button", Box);
        const QString momentary = item("button", Box + "<action>momentary</action>");
        const QString gain = control("Slider", slider(1, 0), Gain.arg("0.5", ""), "Gain1");
        const QString fine = control("Slider", slider(1, 0), Gain.arg("0.01", ""), "Gain1");
        const QString percent = control("Slider", slider(1, 0), Gain.arg("0.5", "pct"), "Gain1");
        const QString link =
            control("TextLink", item("textlink", Box + "<paramidx>3</paramidx>"), ParamSet, "Sets");
        const QByteArray gainReply = "GA \"Gain1\">1\tGA \"Gain1\">1=";
        // clang-format off
        QTest::newRow("alternating") << control("Button", button, Mute.arg(2).arg("chrL"), "Mute1") << QByteArray() << QStringList{"outputPressed", "outputPressed"} << QByteArray("SA \"Mute1\">2=O\rSA \"Mute1\">2=F\r") << "checked" << "false";
        QTest::newRow("momentary") << control("Button", momentary, Mute.arg(3).arg("bin8"), "Mute1") << QByteArray() << QStringList{"outputPressed", "outputReleased"} << QByteArray("SA \"Mute1\">3=1\rSA \"Mute1\">3=0\r") << "checked" << "false";
        QTest::newRow("no transform") << control("Button", button, "<list><index1>3</index1></list>", "Mute1") << QByteArray() << QStringList{"outputPressed"} << QByteArray() << "checked" << "true";
        QTest::newRow("button shows on") << control("Button", button, Mute.arg(3).arg("bin8"), "Mute1") << QByteArray("GA \"Mute1\">3\tGA \"Mute1\">3=1\r") << QStringList() << QByteArray() << "checked" << "true";
        QTest::newRow("slider in dB") << gain << QByteArray() << QStringList{"value -25"} << QByteArray("SA \"Gain1\">1=-12.5\r") << "display" << "-12.5";
        QTest::newRow("slider kept in place") << gain << QByteArray() << QStringList{"value -25", "outputValue -25"} << QByteArray("SA \"Gain1\">1=-12.5\r") << "value" << "-25";
        QTest::newRow("slider step too fine") << fine << QByteArray() << QStringList{"value -7"} << QByteArray("SA \"Gain1\">1=-7.0\r") << "display" << "-7.0";
        QTest::newRow("slider in percent") << percent << QByteArray() << QStringList{"value -24"} << QByteArray("SA \"Gain1\">1=-12\r") << "display" << "67%";
        QTest::newRow("slider shows value") << gain << gainReply + "-12.5\r" << QStringList() << QByteArray() << "value" << "-25";
        QTest::newRow("slider above range") << gain << gainReply + "40\r" << QStringList() << QByteArray() << "value" << "24";
        QTest::newRow("slider below range") << gain << gainReply + "-99\r" << QStringList() << QByteArray() << "value" << "-120";
        QTest::newRow("text link") << link << QByteArray() << QStringList{"outputClicked"} << QByteArray("SS 3 \r") << "current" << "0";
        QTest::newRow("text link chosen") << link << QByteArray("GS \tS 3\r") << QStringList() << QByteArray() << "chosen" << "true";
        QTest::newRow("text link without index") << control("TextLink", item("textlink", Box), ParamSet, "Sets") << QByteArray() << QStringList{"outputClicked"} << QByteArray() << "current" << "0";
        // clang-format on
    }

    void deviceMessages()
    {
        QFETCH(QString, controls);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, sent);
        QFETCH(QString, property);
        QFETCH(QString, shown);
        if (!reply.isEmpty()) {
            const QList<QByteArray> parts = reply.split('\t');
            m_pDsp->call([&] { m_pDsp->replies.insert(parts.first(), {parts.last()}); });
        }
        CControl *control = read(controls);
        WWidget *item = widget(control);
        QVERIFY(item && item->protocol() && item->protocol()->isOnline());
        // Loading asked for the value to show it, and sent nothing back.
        for (const QByteArray &line : received().split('\r'))
            QVERIFY2(line.isEmpty() || line.startsWith("G"), line.constData());
        forgetReceived();
        for (const QString &step : steps) {
            const QStringList words = step.split(QLatin1Char(' '));
            if (words.first() == QLatin1String("value"))
                item->setRootProperty("value", words.last().toInt());
            else if (words.size() == 2)
                QVERIFY(QMetaObject::invokeMethod(item, qPrintable(words.first()),
                                                  Q_ARG(int, words.last().toInt())));
            else
                QVERIFY(QMetaObject::invokeMethod(item, qPrintable(step)));
        }
        QTRY_COMPARE(received(), sent);
        QCOMPARE(property == QLatin1String("display")
                     ? control->transform()->displayText()
                     : item->rootProperty(qPrintable(property)).toString(),
                 shown);
    }

    // The units switch changes how the value is shown and how precisely it
    // is sent; limits are given in units and kept in steps.
    void sliderUnitsAndLimits()
    {
        CControl *control = read(::control("Slider", slider(1, 0), Gain.arg("0.5", "")));
        WWidget *item = widget(control);
        QVERIFY(item);
        QVERIFY(!item->rootProperty("bipolar").toBool());
        QCOMPARE(item->attribute(0x4202).toString(), QStringLiteral("dB"));
        item->setAttribute(0x4202, QStringLiteral("Percent"));
        QCOMPARE(item->attribute(0x4202).toString(), QStringLiteral("Percent"));
        QCOMPARE(control->attributes().units(), QStringLiteral("pct"));
        item->setRootProperty("value", -24);
        QCOMPARE(control->transform()->toText(), QStringLiteral("-12"));
        QCOMPARE(control->transform()->displayText(), QStringLiteral("67%"));
        item->setAttribute(0x4202, QStringLiteral("dB"));
        QCOMPARE(control->attributes().units(), QString());
        item->setRootProperty("value", -23);
        QCOMPARE(control->transform()->toText(), QStringLiteral("-11.5"));

        item->setAttribute(0x4200, QStringLiteral("-30"));
        QCOMPARE(item->rootProperty("minimumValue").toFloat(), -60.f);
        QCOMPARE(control->attributes().minimum(), -30.f);
        QCOMPARE(item->attribute(0x4200).toString(), QStringLiteral("-30"));
        item->setAttribute(0x4201, QStringLiteral("30"));
        QVERIFY(item->rootProperty("bipolar").toBool());
    }

    // A moved slider sends once and drives its chain; the chain stops where
    // it loops, even when the loop does not lead back to the moved slider.
    void linkedSlidersMoveTogether()
    {
        CControl *control = read(::control("Slider", slider(1, 2) + slider(2, 3) + slider(3, 2),
                                           Gain.arg("0.5", ""), "Gain1"));
        WWidget *first = widget(control, 0);
        WWidget *second = widget(control, 1);
        WWidget *third = widget(control, 2);
        QVERIFY(first && second && third);
        forgetReceived();
        first->setRootProperty("value", -25);
        QCOMPARE(second->rootProperty("value").toInt(), -25);
        QCOMPARE(third->rootProperty("value").toInt(), -25);
        third->setRootProperty("value", -30);
        QCOMPARE(second->rootProperty("value").toInt(), -30);
        QCOMPARE(first->rootProperty("value").toInt(), -25);
        QTRY_COMPARE(received(), QByteArray("SA \"Gain1\">1=-12.5\rSA \"Gain1\">1=-15.0\r"));
    }

    void sliderCaptions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("object name") << "*LABEL*"
                                     << "Gain1";
        QTest::newRow("control name") << "*TITLE*"
                                      << "Level";
        QTest::newRow("plain text") << "Volume"
                                    << "Volume";
    }

    void sliderCaptions()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        CControl *control = read(
            ::control("Slider", item("label", Box + "<text>" + text + "</text>") + slider(1, 0),
                      Gain.arg("0.5", ""), "Gain1"));
        QVERIFY(widget(control, 1));
        QCOMPARE(widget(control, 0)->rootText(), shown);
    }

    void commandButtonFeedsItsLinkedItem()
    {
        auto *key = qobject_cast<WCmdButton *>(
            widget(read(control("CmdButton", item("cmdbutton", Box + "<command>5</command>")))));
        QVERIFY(key);
        RecordingItem dialer;
        key->outputPressed(); // nothing linked: nothing to feed
        key->setLinkedItem(&dialer);
        key->outputPressed();
        key->outputPressed();
        QCOMPARE(dialer.texts, QStringList({"5", "5"}));
    }

    void attributes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("answer");
        // clang-format off
        QTest::newRow("button caption") << "button" << 0x4007u << "An" << "An";
        QTest::newRow("button both") << "button" << 0x4300u << "Text+Image" << "Text+Image";
        QTest::newRow("button image") << "button" << 0x4300u << "Image" << "Image";
        QTest::newRow("button unknown mode") << "button" << 0x4300u << "Both" << "Text";
        QTest::newRow("button picture") << "button" << 0x4301u << "/pictures/on.png" << "file:///pictures/on.png";
        QTest::newRow("command both") << "cmdbutton" << 0x4300u << "Text+Image" << "Text";
        QTest::newRow("command picture") << "cmdbutton" << 0x4400u << "file:///pictures/key.png" << "file:///pictures/key.png";
        QTest::newRow("text link blank") << "textlink" << 0x4500u << "Blank" << "Blank";
        QTest::newRow("text link button") << "textlink" << 0x4500u << "Button" << "Button";
        QTest::newRow("knob colour") << "slider" << 0x4203u << "#102030" << "#102030";
        // clang-format on
    }

    void attributes()
    {
        QFETCH(QString, type);
        QFETCH(uint, id);
        QFETCH(QString, value);
        QFETCH(QString, answer);
        WWidget *item = widget(read(control(type, ::item(type, Box + "<title>T</title>"))));
        QVERIFY(item);
        item->setAttribute(id, value);
        QCOMPARE(item->attribute(id).toString(), answer);
    }

    // Mute pictures are drawn from the current skin and accent, and follow
    // when either changes; the user's own pictures stay.
    void buttonPicturesFollowTheSkin()
    {
        m_pCanvas->setAccent(QStringLiteral("Red"));
        WWidget *item = widget(read(control(
            "Button", ::item("button", Box + "<onimage>mute_on</onimage><offimage>x/mute_off.png"
                                             "</offimage>"))));
        QVERIFY(item);
        QCOMPARE(item->attribute(0x4301).toString(),
                 QStringLiteral("../images/skins/Accent/Red/mute_on.png"));
        QCOMPARE(item->attribute(0x4302).toString(),
                 QStringLiteral("../images/skins/Light/mute_off.png"));
        m_pCanvas->setSkin(QStringLiteral("Dark"));
        m_pCanvas->setAccent(QStringLiteral("Green"));
        item->setAttribute(0x4301, QStringLiteral("/pictures/mute_on.png"));
        m_pModel->applySkin(m_pCanvas->skin(), m_pCanvas->accent());
        QCOMPARE(item->attribute(0x4301).toString(),
                 QStringLiteral("file:///pictures/mute_on.png"));
        QCOMPARE(item->attribute(0x4302).toString(),
                 QStringLiteral("../images/skins/Dark/mute_off.png"));
    }

    // The text link's bound object names it and gives its index.
    void textLinkTakesItsObject()
    {
        auto *source = new HBlock();
        source->setLabel(QStringLiteral("Aux"));
        source->setIndex(4);
        m_pChassis->addChild(source);
        WWidget *item = widget(
            read(control("TextLink", ::item("textlink", Box + "<text>?</text><index>0</index>"),
                         ParamSet, "Aux")));
        QVERIFY(item);
        QCOMPARE(item->rootText(), QStringLiteral("Aux"));
        QVERIFY2(written(item).contains("<text>Aux</text><paramidx>4</paramidx>"),
                 qPrintable(written(item)));
    }

    // Presses, clicks and drags on the QML faces reach the native items.
    void pointerReachesTheItems()
    {
        QQuickWindow window;
        window.resize(400, 400);
        m_pContent->setParentItem(window.contentItem());
        const auto detach = qScopeGuard([this] { m_pContent->setParentItem(nullptr); });
        const QString place =
            QStringLiteral("<x>%1</x><y>0</y><width>%2</width><height>%3</height>");
        CControl *mute = read(control(
            "Button", item("button", place.arg(0).arg(60).arg(40) + "<action>momentary</action>"),
            Mute.arg(3).arg("bin8"), "Mute1"));
        CControl *gain = read(control("Slider", item("slider", place.arg(100).arg(25).arg(320)),
                                      Gain.arg("0.5", ""), "Gain1"));
        CControl *set = read(control(
            "TextLink", item("textlink", place.arg(200).arg(80).arg(20) + "<paramidx>2</paramidx>"),
            ParamSet, "Sets"));
        for (CControl *control : {mute, gain, set})
            control->show(true);
        forgetReceived();

        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(30, 20));
        QVERIFY(widget(mute)->rootProperty("checked").toBool());
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(30, 20));
        QVERIFY(!widget(mute)->rootProperty("checked").toBool());

        // Value 0 of -120 to 24 steps puts the knob's top 49 pixels down its
        // 295 of travel; drag it up.
        WWidget *fader = widget(gain);
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(112, 61));
        QTest::mouseMove(&window, QPoint(112, 21));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(112, 21));
        const int value = fader->rootProperty("value").toInt();
        QVERIFY2(value > 0, qPrintable(QString::number(value)));

        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(240, 10));
        QVERIFY(widget(set)->rootProperty("flash").toBool());
        QTRY_COMPARE(received(), "SA \"Mute1\">3=1\rSA \"Mute1\">3=0\rSA \"Gain1\">1=" +
                                     QByteArray::number(value * 0.5, 'f', 1) + "\rSS 2 \r");
    }
};

ZRB_TEST_MAIN(TestButtons)
#include "tst_buttons.moc"
