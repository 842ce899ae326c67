#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"
#include "common/ScriptedDsp.h"
#include "common/TestDir.h"

#include "app/MModel.h"
#include "controls/WDialer.h"
#include "controls/WDropList.h"
#include "controls/WDropSite.h"
#include "controls/WPanelLink.h"
#include "controls/WTextEdit.h"
#include "design/CParameter.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HGroup.h"
#include "design/HParameterSet.h"
#include "design/HRoot.h"
#include "device/ITcpClient.h"
#include "device/PZDXProtocol.h"
#include "device/TTransform.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"
#include "views/VModeManager.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QFile>
#include <QMetaMethod>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamAttributes>

namespace {

const int Patience = 10000;
const QString Box = QStringLiteral("<x>0</x><y>0</y><width>150</width><height>30</height>");

WWidget *widget(CControl *control, int index = 0)
{
    CItem *item = control ? control->items().value(index) : nullptr;
    return item ? qobject_cast<WWidget *>(item->itemObject()) : nullptr;
}

template <typename T> T *itemOf(CControl *control, int index = 0)
{
    return qobject_cast<T *>(widget(control, index));
}

QString written(CItem *item)
{
    return TestSupport::writtenXml([&](XmlWriter &writer) { item->writeXml(&writer); });
}

// A control as a panel file has it; with a block it is bound to that object
// of the processor "DSP1".
QString control(const QString &type, const QString &items, const QString &attributes = QString(),
                const QString &block = QString(), quint32 id = 0)
{
    QString text = QStringLiteral("<Control name=\"%1\" type=\"%1\">").arg(type);
    if (!block.isEmpty())
        text += QStringLiteral("<block>%1</block><connection>DSP1</connection>").arg(block);
    if (id)
        text += QStringLiteral("<id>%1</id>").arg(id);
    return text + QStringLiteral("<Property name=\"widget\">") + items +
           QStringLiteral("</Property><Property name=\"attributes\">") + attributes +
           QStringLiteral("</Property></Control>\n");
}

// An item element in the very layout the writer gives it.
QString layout(const QString &type, const QStringList &values)
{
    return QStringLiteral("<%1>\n\t%2\n</%1>\n").arg(type, values.join(QStringLiteral("\n\t")));
}

const QStringList BaseValues = {"<x>0</x>",
                                "<y>0</y>",
                                "<width>150</width>",
                                "<height>30</height>",
                                "<xfract>0.25</xfract>",
                                "<yfract>0</yfract>",
                                "<widthfract>0.5</widthfract>",
                                "<heightfract>1</heightfract>"};

// Emits a mouse area's clicked() as a click would, so the QML handler runs.
bool click(QQuickItem *root, const char *area)
{
    QObject *target = root ? root->findChild<QObject *>(QLatin1String(area)) : nullptr;
    if (!target)
        return false;
    const QMetaObject *meta = target->metaObject();
    const QMetaMethod clicked = meta->method(meta->indexOfSignal("clicked(QQuickMouseEvent*)"));
    void *none = nullptr;
    return clicked.invoke(target, Qt::DirectConnection,
                          QGenericArgument("QQuickMouseEvent*", &none));
}

QXmlStreamAttributes attributes(const QList<QPair<QString, QString>> &pairs)
{
    QXmlStreamAttributes result;
    for (const auto &pair : pairs)
        result.append(pair.first, pair.second);
    return result;
}

} // namespace

// The list, dialer, text entry, panel link and drop site items inside their
// real QML components, bound through panel-file text to a scripted DSP on
// the loopback interface where values are to reach the device.
class TestLists : public QObject
{
    Q_OBJECT

private:
    CCanvas *m_pCanvas = nullptr;
    MModel *m_pModel = nullptr;
    VQmlFrame *m_pFrame = nullptr;
    QQuickItem *m_pContent = nullptr;
    HChassis *m_pChassis = nullptr;
    QStringList m_warnings;

    // Reads controls into the current panel, bound to block when given;
    // answers the first control read.
    CControl *read(const QString &controls, HNode *block = nullptr)
    {
        CLoadContext context;
        context.hardware = m_pModel->hardwareRoot();
        context.block = block;
        CComposite *panel = m_pModel->currentPanel();
        const int before = panel->childCount();
        panel->loadString(QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX><Controls>%1</Controls>"
                                         "</ZDX>\n")
                              .arg(controls),
                          context);
        return panel->childAt(before);
    }

    // Connects the processor's own protocol to the scripted DSP.
    bool goOnline(ScriptedDsp &dsp)
    {
        auto *client = qobject_cast<ITcpClient *>(m_pChassis->createInterface());
        return client && dsp.listen() && connectTo(*client, dsp.port());
    }

    // What the DSP received before a probe request sent last: TCP keeps the
    // order, so nothing sent earlier is still on its way once it is there.
    QByteArray settled(ScriptedDsp &dsp, TTransform *probe)
    {
        const QByteArray line = PZDXProtocol::message(probe, PZDXProtocol::GetMode);
        m_pChassis->protocol()->requestValue(probe);
        if (!QTest::qWaitFor([&] { return dsp.read(dsp.received).endsWith(line); }, Patience))
            return dsp.read(dsp.received) + "<probe missing>";
        return dsp.read(dsp.received).chopped(line.size());
    }

    // Polls until the condition holds: a reply that misses the 80 ms wait on
    // a loaded machine is a timeout, and the next poll asks again.
    template <typename F> bool pollUntil(CControl *control, F condition)
    {
        for (int attempt = 0; attempt < 20 && !condition(); ++attempt)
            control->poll();
        return condition();
    }

    static QString phone()
    {
        return QStringLiteral("<range><struct>8</struct><index2>1</index2>"
                              "<transform>text</transform></range>");
    }

private slots:
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
        m_pChassis->setLabel(QStringLiteral("DSP1"));
        m_pModel->hardwareRoot()->addChild(m_pChassis);
        // Popups and messages go on the canvas.
        VModeManager::instance()->setCanvas(m_pContent);
    }

    void cleanup()
    {
        VModeManager::instance()->setCanvas(nullptr);
        VModeManager::instance()->setModalObject(nullptr);
        delete m_pFrame;
        delete m_pContent;
        delete m_pModel;
        delete m_pCanvas;
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join(QLatin1Char('\n'))));
    }

    void itemsRoundTrip_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("properties");
        QTest::addColumn<QStringList>("values");
        // A value read in another form that is written in the form above.
        QTest::addColumn<QStringList>("readAs");
        const auto row = [](const char *tag, const char *type, const char *className,
                            bool properties, const QStringList &values,
                            const QStringList &readAs = QStringList()) {
            QTest::newRow(tag) << type << className << properties << values << readAs;
        };
        const QStringList base = BaseValues;
        row("droplist", "droplist", "WDropList", true,
            QStringList{"<id>5</id>", "<link>32800</link>"} + base +
                QStringList{"<msg>Hall,Bar,Lobby</msg>", "<index>10,20,30</index>",
                            "<hasBorder>1</hasBorder>", "<align>Right</align>"},
            {"<align>Right</align>", "<align>RIGHT</align>"});
        row("droplist plain", "droplist", "WDropList", true,
            base + QStringList{"<msg>One</msg>", "<index>1</index>", "<hasBorder>0</hasBorder>",
                               "<align>Left</align>"});
        row("dialer", "dialer", "WDialer", false, QStringList{"<id>32800</id>"} + base);
        row("textedit", "textedit", "WTextEdit", false,
            QStringList{"<id>2</id>", "<link>1</link>"} + base);
        row("panellink", "panellink", "WPanelLink", true,
            base + QStringList{"<text>Lobby</text>", "<path>..\\COLLECTION1\\Lobby</path>",
                               "<imagepath></imagepath>", "<imagevalid>Text</imagevalid>",
                               "<buttonmode>Button</buttonmode>", "<hasBorder>1</hasBorder>",
                               "<face>bold</face>", "<scale>1.5</scale>"});
        // What a link reads as a label goes back after its own values.
        row("panellink as label", "panellink", "WPanelLink", true,
            base + QStringList{"<text>Go</text>", "<path></path>", "<imagepath></imagepath>",
                               "<imagevalid>Image</imagevalid>", "<buttonmode>Blank</buttonmode>",
                               "<hasBorder>0</hasBorder>", "<align>center</align>",
                               "<color>#ff112233</color>", "<rotation>90</rotation>",
                               "<edit>true</edit>", "<select>false</select>",
                               "<autosize>true</autosize>"});
        row("dropsite", "dropsite", "WDropSite", false,
            base + QStringList{"<title>Source</title>", "<type>Slider</type>"});
        row("dropsite scaled", "dropsite", "WDropSite", false,
            base + QStringList{"<title>Mic</title>", "<type>Button</type>", "<scale>1.25</scale>"});
    }

    void itemsRoundTrip()
    {
        QFETCH(QString, type);
        QFETCH(QString, className);
        QFETCH(bool, properties);
        QFETCH(QStringList, values);
        QFETCH(QStringList, readAs);
        const QString text = layout(type, values);
        QString input = text;
        if (!readAs.isEmpty())
            input.replace(readAs.at(0), readAs.at(1));
        WWidget *item = widget(read(control(QStringLiteral("Item"), input)));
        QVERIFY(item);
        QCOMPARE(QString::fromLatin1(item->metaObject()->className()), className);
        QCOMPARE(item->hasProperties(), properties);
        QCOMPARE(written(item), text);
    }

    void dropListSources_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QString>("owner"); // the design object the list is bound to
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("kind");
        QTest::newRow("msg") << "<msg>A,B,C</msg>"
                             << "" << QStringList{"A", "B", "C"} << QList<int>{1, 2, 3} << 1;
        QTest::newRow("index after msg")
            << "<msg>A,B,C</msg><index>10,20,30</index>"
            << "" << QStringList{"A", "B", "C"} << QList<int>{10, 20, 30} << 1;
        QTest::newRow("msg after index") << "<index>10,20</index><msg>A,B</msg>"
                                         << "" << QStringList{"A", "B"} << QList<int>{1, 2} << 1;
        QTest::newRow("block names")
            << "<node>names</node>"
            << "block" << QStringList{"Laptop", "Mic"} << QList<int>{1, 3} << 3;
        QTest::newRow("parameter sets")
            << "<node>ParameterSets</node>"
            << "sets" << QStringList{"Presentation", "Video Call"} << QList<int>{1, 2} << 3;
        QTest::newRow("picked parameter sets")
            << "<node>ParameterSets</node>"
            << "picked sets" << QStringList{"Video Call", "Presentation"} << QList<int>{2, 1} << 3;
        QTest::newRow("node without object") << "<node>names</node>"
                                             << "" << QStringList() << QList<int>() << 3;
        QTest::newRow("group") << "<group>names</group>"
                               << "group" << QStringList{"Laptop HDMI", "Wireless Mic"}
                               << QList<int>{1, 2} << 4;
        QTest::newRow("group item text")
            << "<item>names</item>"
            << "group" << QStringList{"Laptop HDMI", "Wireless Mic"} << QList<int>{1, 2} << 0;
    }

    void dropListSources()
    {
        QFETCH(QString, values);
        QFETCH(QString, owner);
        QFETCH(QStringList, items);
        QFETCH(QList<int>, numbers);
        QFETCH(int, kind);
        HNode *block = nullptr;
        if (owner == QLatin1String("block")) {
            block = new HBlock();
            block->setNames(QStringLiteral("Laptop,,Mic,"));
        } else if (owner.endsWith(QLatin1String("sets"))) {
            const QStringList labels = {"Presentation", "Video Call", "Unused Draft"};
            for (int i = 0; i < labels.size(); ++i) {
                auto *set = new HParameterSet();
                set->setLabel(labels.at(i));
                set->setIndex(i + 1);
                // The design referenced the first two only.
                set->setFlag(HNode::NotReferenced, i == 2);
                if (owner == QLatin1String("picked sets"))
                    set->setOrder(1 - i);
                m_pChassis->addChild(set);
                block = block ? block : set;
            }
        } else if (owner == QLatin1String("group")) {
            block = new HGroup();
            block->readProperty(attributes({{"name", "groupType"}, {"value", "Selector"}}));
            for (const char *name : {"Laptop HDMI", "Wireless Mic"})
                block->readAssignment(attributes(
                    {{"targetID", "31"}, {"targetProp", "name1"}, {"targetValue", name}}));
        }
        if (block && !block->parent())
            m_pChassis->addChild(block);
        auto *list = itemOf<WDropList>(
            read(control(QStringLiteral("DropList"), "<droplist>" + Box + values + "</droplist>"),
                 block));
        QVERIFY(list);
        QCOMPARE(list->items(), items);
        QCOMPARE(list->values(), numbers);
        QCOMPARE(list->sourceKind(), kind);
        if (kind == WDropList::GroupSource)
            QCOMPARE(list->rootProperty("model").toStringList(), items);
    }

    // Relative file names are those of the panel file's folder, also while
    // the panel file itself is being opened; the entries then travel as text.
    void dropListReadsFileBesideThePanel()
    {
        TestDir dir;
        QFile entries(dir.filePath(QStringLiteral("Sources.txt")));
        QVERIFY(entries.open(QIODevice::WriteOnly) && entries.write("Laptop\r\nMic\r\nTV"));
        entries.close();
        QFile panel(dir.filePath(QStringLiteral("show.cpf")));
        QVERIFY(panel.open(QIODevice::WriteOnly));
        const QString lists[] = {"<file>Sources.txt</file>", "<file>Gone.txt</file>",
                                 "<file>Sources.txt</file><index>5,6,7</index>"};
        QString controls;
        for (const QString &values : lists)
            controls += control("DropList", "<droplist>" + Box + values + "</droplist>");
        panel.write(QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX><Controls>%1</Controls></ZDX>\n")
                        .arg(controls)
                        .toUtf8());
        panel.close();
        QVERIFY2(m_pModel->open(panel.fileName()), qPrintable(m_pModel->lastError()));
        CComposite *shown = m_pModel->currentPanel();
        QVERIFY(shown && shown->childCount() == 3);
        auto *list = itemOf<WDropList>(shown->childAt(0));
        auto *missing = itemOf<WDropList>(shown->childAt(1));
        auto *indexed = itemOf<WDropList>(shown->childAt(2));
        QVERIFY(list && missing && indexed);
        QCOMPARE(list->items(), QStringList({"Laptop", "Mic", "TV"}));
        QCOMPARE(list->values(), QList<int>({1, 2, 3}));
        QCOMPARE(list->sourceKind(), int(WDropList::FileSource));
        QVERIFY2(written(list).contains("<msg>Laptop,Mic,TV</msg>\n\t<index>1,2,3</index>"),
                 qPrintable(written(list)));
        QCOMPARE(indexed->items(), list->items());
        QCOMPARE(indexed->values(), QList<int>({5, 6, 7}));
        QVERIFY(missing->items().isEmpty());
    }

    void listChoiceReachesTheDevice_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QList<int>>("choices"); // as the popup reports them
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("caption");
        QTest::newRow("msg numbers")
            << "<msg>A,B,C</msg>" << QList<int>{1} << QByteArray("SA \"Sel\">1=2\r") << "B";
        QTest::newRow("index values") << "<msg>A,B,C</msg><index>10,20,30</index>" << QList<int>{2}
                                      << QByteArray("SA \"Sel\">1=30\r") << "C";
        QTest::newRow("one message per change")
            << "<msg>A,B,C</msg>" << QList<int>{1, 1, 0}
            << QByteArray("SA \"Sel\">1=2\rSA \"Sel\">1=1\r") << "A";
        QTest::newRow("cancel") << "<msg>A,B,C</msg>" << QList<int>{-1} << QByteArray() << "";
        QTest::newRow("past the list") << "<msg>A,B,C</msg>" << QList<int>{3} << QByteArray() << "";
    }

    void listChoiceReachesTheDevice()
    {
        QFETCH(QString, values);
        QFETCH(QList<int>, choices);
        QFETCH(QByteArray, sent);
        QFETCH(QString, caption);
        ScriptedDsp dsp;
        CControl *selector = read(control("DropList", "<droplist>" + Box + values + "</droplist>",
                                          "<list><struct>0</struct><index1>1</index1>"
                                          "<transform>bin8</transform></list>",
                                          "Sel"));
        auto *list = itemOf<WDropList>(selector);
        QVERIFY(list && list->transform() && list->protocol());
        QVERIFY(goOnline(dsp));
        for (int choice : qAsConst(choices)) {
            // The popup the drop list's own click opens reports the choice.
            QVERIFY(click(list->root(), "openArea"));
            QPointer<QObject> popup = list->popup();
            QVERIFY(popup);
            QCOMPARE(VModeManager::instance()->modalObject(), popup.data());
            QCOMPARE(popup->property("model").toStringList(), list->items());
            QCOMPARE(popup->property("index").toInt(), list->currentIndex());
            if (choice < 0)
                VModeManager::instance()->cancel();
            else
                QMetaObject::invokeMethod(popup, "listClick", Q_ARG(int, choice));
            QTRY_VERIFY(!popup);
            QVERIFY(!VModeManager::instance()->modalObject());
        }
        QCOMPARE(settled(dsp, selector->transform()), sent);
        QCOMPARE(list->rootProperty("currentText").toString(), caption);
    }

    void listShowsTheDeviceValue_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("caption");
        QTest::newRow("listed") << 20 << 1 << "B";
        QTest::newRow("not listed") << 99 << -1 << "";
    }

    void listShowsTheDeviceValue()
    {
        QFETCH(int, value);
        QFETCH(int, index);
        QFETCH(QString, caption);
        ScriptedDsp dsp;
        const QString reply = QStringLiteral("GA \"Sel\">1=%1\r").arg(value);
        dsp.replies.insert("GA \"Sel\">1", {reply.toLatin1()});
        CControl *selector = read(control("DropList",
                                          "<droplist>" + Box +
                                              "<msg>A,B,C</msg><index>10,20,30</index>"
                                              "</droplist>",
                                          "<list><struct>0</struct><index1>1</index1>"
                                          "<transform>bin8</transform></list>",
                                          "Sel"));
        auto *list = itemOf<WDropList>(selector);
        QVERIFY(list);
        list->listSelect(0);
        QVERIFY(goOnline(dsp));
        QVERIFY(pollUntil(selector, [&] {
            return list->currentIndex() == index &&
                   list->rootProperty("currentText").toString() == caption;
        }));
        QCOMPARE(list->rootProperty("currentIndex").toInt(), index);
        // Showing it sent nothing back.
        QCOMPARE(settled(dsp, selector->transform()).count("SA "), 0);
    }

    void dialerKeypadChain_data()
    {
        QTest::addColumn<uint>("state");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("sent");
        const auto row = [](const char *tag, uint state, const QStringList &keys, const char *shown,
                            const QByteArray &sent) {
            QTest::newRow(tag) << state << keys << QString::fromLatin1(shown) << sent;
        };
        row("typed number and call", 1, {"0", "1", "2", "BackSpace", "2", "3", "Call"}, "0123",
            "MA \"Phone\">1=0123\r");
        row("digits only", 1, {"4", "#", "*"}, "4#*", "");
        row("backspace on empty", 1, {"BackSpace", "End", "Answer"}, "", "");
        row("dialing ends", 2, {"5", "End"}, "", "MA \"Phone\">2\r");
        row("connected tones", 3, {"5", "#"}, "5#", "MA \"Phone\">6=5\rMA \"Phone\">6=#\r");
        row("connected ends", 3, {"End"}, "", "MA \"Phone\">2\r");
        row("ringing answers", 4, {"Call", "Answer"}, "", "MA \"Phone\">3\r");
    }

    void dialerKeypadChain()
    {
        QFETCH(uint, state);
        QFETCH(QStringList, keys);
        QFETCH(QString, shown);
        QFETCH(QByteArray, sent);
        ScriptedDsp dsp;
        CControl *phone = read(control("Dialer", "<dialer><id>32800</id>" + Box + "</dialer>",
                                       TestLists::phone(), "Phone"));
        auto *dialer = itemOf<WDialer>(phone);
        QVERIFY(dialer && phone->transform());
        // The state as the device reported it.
        phone->transform()->setText(QString::number(state));
        dialer->inputValue();
        QCOMPARE(dialer->callState(), state);
        QCOMPARE(dialer->rootProperty("status").toString(), WDialer::stateText(state));
        QVERIFY(goOnline(dsp));
        // Command buttons hand their text on, one key at a time.
        for (const QString &key : qAsConst(keys))
            dialer->inputText(key);
        QCOMPARE(dialer->rootText(), shown);
        QCOMPARE(settled(dsp, phone->transform()), sent);
        // The function went out in index1 for its message only.
        QCOMPARE(phone->attributes().index1(), 0);
    }

    // The call state the DSP reports is shown; while connected the poll
    // alternates with the device's status text.
    void dialerShowsTheReportedCallState()
    {
        ScriptedDsp dsp;
        dsp.replies.insert("GA \"Phone\">0>1", {"GA \"Phone\">0>1=3\r"});
        dsp.replies.insert("GA \"Phone\">0>6", {"GA \"Phone\">0>6=Line 2 00:42\r"});
        CControl *phone =
            read(control("Dialer", "<dialer>" + Box + "</dialer>", TestLists::phone(), "Phone"));
        auto *dialer = itemOf<WDialer>(phone);
        QVERIFY(dialer);
        QCOMPARE(dialer->rootProperty("status").toString(), QStringLiteral("Ready"));
        QVERIFY(goOnline(dsp));
        const auto status = [dialer] { return dialer->rootProperty("status").toString(); };
        QVERIFY(pollUntil(phone, [&] { return status() == QLatin1String("Connected"); }));
        QCOMPARE(dialer->callState(), uint(WDialer::Connected));
        // The same state again: the next poll asks for the status text.
        QVERIFY(pollUntil(phone, [&] { return phone->attributes().index2() == 6; }));
        QVERIFY(pollUntil(phone, [&] { return status() == QLatin1String("Line 2 00:42"); }));
        QCOMPARE(phone->attributes().index2(), 1);
        QCOMPARE(dialer->callState(), uint(WDialer::Connected));
        // A value that is no call state changes nothing.
        phone->transform()->setText(QStringLiteral("9"));
        dialer->inputValue();
        QCOMPARE(dialer->callState(), uint(WDialer::Connected));
    }

    void textEntryChain_data()
    {
        // The links of the entries with ids 1, 2 and 3; the entry with id 4
        // stands in for the slider that starts the chain at entry 1.
        QTest::addColumn<QList<int>>("links");
        QTest::newRow("chain") << QList<int>{2, 3, 0};
        QTest::newRow("loop back to the start") << QList<int>{2, 3, 4};
        QTest::newRow("loop past the start") << QList<int>{2, 3, 2};
    }

    void textEntryChain()
    {
        QFETCH(QList<int>, links);
        QString items;
        for (int i = 0; i < 4; ++i)
            items += QStringLiteral("<textedit><id>%1</id><link>%2</link>%3</textedit>")
                         .arg(i + 1)
                         .arg(i < 3 ? links.at(i) : 1)
                         .arg(Box);
        ScriptedDsp dsp;
        CControl *level = read(control("Level", items,
                                       "<range><struct>0</struct><index1>1</index1><format>nn.n"
                                       "</format><transform>strV</transform></range>",
                                       "Level"));
        QVERIFY(level && level->items().size() == 4);
        QList<WTextEdit *> entries;
        QList<QSharedPointer<QSignalSpy>> shown;
        for (int i = 0; i < 4; ++i) {
            entries << itemOf<WTextEdit>(level, i);
            QVERIFY(entries.last());
            shown << QSharedPointer<QSignalSpy>::create(entries.last()->root(),
                                                        SIGNAL(textChanged()));
        }
        WTextEdit *start = entries.takeLast();
        QCOMPARE(start->linkedItem(), entries.first());
        QCOMPARE(entries.first()->format(), QStringLiteral("nn.n"));
        QVERIFY(goOnline(dsp));

        // The slider moved: its value box and those linked on show it once.
        level->transform()->setDisplay(-10.5f);
        const QString display = level->transform()->displayText();
        QVERIFY(!display.isEmpty());
        start->linkedItem()->linkValue(start);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(entries.at(i)->rootText(), display);
            QCOMPARE(shown.at(i)->count(), 1);
        }
        QCOMPARE(shown.last()->count(), 0);
        // Typing into the first sends once; the rest already show the value.
        entries.first()->setRootText(QStringLiteral("7"));
        QCOMPARE(settled(dsp, level->transform()), QByteArray("SA \"Level\">1=7\r"));
        QCOMPARE(entries.at(1)->rootText(), display);
        QCOMPARE(shown.at(1)->count(), 1);
    }

    void panelLinkFollowsItsPath()
    {
        CComposite *home = m_pModel->currentPanel();
        CComposite *lounge = m_pModel->addCollection();
        auto *bar = new CComposite();
        lounge->addChild(bar);
        bar->assignKind(QStringLiteral("Panel"));
        bar->setName(QStringLiteral("Bar"));
        bar->setModel(m_pModel);
        auto *link = itemOf<WPanelLink>(read(control(
            "PanelLink", "<panellink>" + Box + "<text>Go</text><face>bold</face></panellink>")));
        QVERIFY(link);

        link->setPanel(bar);
        QCOMPARE(link->path(), QStringLiteral("..\\COLLECTION2\\Bar"));
        QCOMPARE(link->attribute(0x4501).toString(), link->path());
        QCOMPARE(link->rootText(), QStringLiteral("<b>Bar</b>"));
        QVERIFY(click(link->root(), "linkArea"));
        QCOMPARE(m_pModel->currentPanel(), bar);
        QCOMPARE(m_pModel->currentCollection(), lounge);
        QVERIFY2(!link->root()->isVisible(), "the panel left is still shown");

        link->replacePathPrefix(QStringLiteral("..\\COLLECTION1"), QStringLiteral("..\\X"));
        QCOMPARE(link->path(), QStringLiteral("..\\COLLECTION2\\Bar"));
        link->replacePathPrefix(QStringLiteral("..\\COLLECTION2"), QStringLiteral("..\\Lounge"));
        QCOMPARE(link->path(), QStringLiteral("..\\Lounge\\Bar"));
        // A path to nowhere leaves the panel shown.
        m_pModel->selectCollection(0);
        QCOMPARE(m_pModel->currentPanel(), home);
        link->selectPanel();
        QCOMPARE(m_pModel->currentPanel(), home);
        QVERIFY(link->root()->isVisible());

        link->setAttribute(0x4501, QString());
        link->selectPanel();
        QObject *message = VModeManager::instance()->modalObject();
        QVERIFY(message);
        QCOMPARE(message->property("text").toString(),
                 QStringLiteral("Error - No link has been defined for this region.\n\n"
                                "Please set a link using the properties panel."));
        QCOMPARE(message->property("button").toString(), QStringLiteral("OK"));
        QPointer<QObject> closing = message;
        VModeManager::instance()->cancel();
        QTRY_VERIFY(!closing);
        QCOMPARE(m_pModel->currentPanel(), home);
    }

    void dropSiteAcceptsOnlyItsKind_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("occupied");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("its kind") << "Level" << false << yes << true << "";
        QTest::newRow("another kind")
            << "Mute" << false << yes << false << "Cannot drop a Button on a Slider site.";
        QTest::newRow("no such entry") << "Gain" << false << yes << false << "";
        const QString overwrite = "There is already a control in this location.\n"
                                  "Do you want to overwrite?";
        QTest::newRow("occupied, overwrite") << "Level" << true << yes << true << overwrite;
        QTest::newRow("occupied, keep") << "Level" << true << no << false << overwrite;
        QTest::newRow("occupied, another kind")
            << "Mute" << true << yes << false << "Cannot drop a Button on a Slider site.";
    }

    void dropSiteAcceptsOnlyItsKind()
    {
        QFETCH(QString, entry);
        QFETCH(bool, occupied);
        QFETCH(int, answer);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        HBlock node;
        node.parameters() << new CParameter(QStringLiteral("Level"), QStringLiteral("Slider"))
                          << new CParameter(QStringLiteral("Mute"), QStringLiteral("Button"));
        const QString held = control("Label", "<label>" + Box + "<text>Held</text></label>",
                                     QString(), QString(), 901);
        const QString site =
            control("DropSite", "<dropsite>" + Box +
                                    QStringLiteral("<title>Level</title><type>Slider</type>"
                                                   "%1</dropsite>")
                                        .arg(occupied ? "<child>901</child>" : "") +
                                    "<label>" + Box + "<text>Title</text></label>");
        auto *dropSite = itemOf<WDropSite>(read(site + (occupied ? held : QString())));
        QVERIFY(dropSite);
        QCOMPARE(dropSite->hasChild(), occupied);
        QCOMPARE(dropSite->rootProperty("enableDrop").toBool(), !occupied);
        RecordingMessageHandler messages;
        messages.queueAnswer(QMessageBox::StandardButton(answer));
        QCOMPARE(dropSite->acceptDrop(&node, entry), accepted);
        QCOMPARE(messages.count(), message.isEmpty() ? 0 : 1);
        QCOMPARE(messages.last().text, message);
        if (!message.isEmpty())
            QCOMPARE(messages.last().title, QStringLiteral("Warning"));
    }

    // The site holds the control whose id it stores; clearing it takes the
    // control out of the document and hands it to the caller.
    void dropSiteHoldsItsControl()
    {
        CControl *siteControl =
            read(control("DropSite", "<dropsite>" + Box +
                                         "<type>Label</type><child>901</child></dropsite>"
                                         "<label>" +
                                         Box + "<text>Title</text></label>") +
                 control("Label",
                         "<label><x>5</x><y>5</y><width>20</width><height>10</height>"
                         "<text>Held</text></label>",
                         QString(), QString(), 901));
        auto *dropSite = itemOf<WDropSite>(siteControl);
        QVERIFY(dropSite);
        CComposite *panel = m_pModel->currentPanel();
        CControl *held = panel->childAt(panel->indexOf(siteControl) + 1);
        QCOMPARE(dropSite->child(), held);
        QCOMPARE(held->dropSiteHost(), siteControl);
        QCOMPARE(itemOf<WWidget>(siteControl, 1)->rootText(), held->name());
        QVERIFY2(written(dropSite).contains("<type>Label</type>\n\t<child>901</child>"),
                 qPrintable(written(dropSite)));
        // Moving the site moves what it holds; the held control alone stays.
        siteControl->moveBy(10, 0);
        QCOMPARE(held->bounds().x(), 15.0);
        held->moveBy(10, 0);
        QCOMPARE(held->bounds().x(), 15.0);

        dropSite->setChild(nullptr);
        std::unique_ptr<CControl> taken(held);
        QVERIFY(!panel->contains(held));
        QVERIFY(!held->dropSiteHost());
        QVERIFY(!dropSite->hasChild());
        QCOMPARE(dropSite->itemId(), 0u);
        QCOMPARE(dropSite->rootProperty("enableDrop").toBool(), true);
        QCOMPARE(itemOf<WWidget>(siteControl, 1)->rootText(), QStringLiteral("Title"));
        QVERIFY(!written(dropSite).contains("<child>"));
    }
};

ZRB_TEST_MAIN(TestLists)
#include "tst_lists.moc"
