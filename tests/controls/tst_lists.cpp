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
#include <QMetaMethod>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QXmlStreamAttributes>

namespace {

const QString Box = QStringLiteral("<x>0</x><y>0</y><width>150</width><height>30</height>");
const QString Phone = QStringLiteral(
    "<range><struct>8</struct><index2>1</index2><transform>text</transform></range>");
const QString Selector =
    QStringLiteral("<list><struct>0</struct><index1>1</index1><transform>bin8</transform></list>");

template <typename T = WWidget> T *itemOf(CControl *control, int index = 0)
{
    CItem *item = control ? control->items().value(index) : nullptr;
    return item ? qobject_cast<T *>(item->itemObject()) : nullptr;
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
    return text + QStringLiteral("<Property name=\"widget\">%1</Property><Property "
                                 "name=\"attributes\">%2</Property></Control>\n")
                      .arg(items, attributes);
}

// Emits a mouse area's clicked() as a click would, so the QML handler runs.
bool click(QQuickItem *root, const char *area)
{
    QObject *target = root ? root->findChild<QObject *>(QLatin1String(area)) : nullptr;
    if (!target)
        return false;
    const QMetaObject *meta = target->metaObject();
    void *none = nullptr;
    return meta->method(meta->indexOfSignal("clicked(QQuickMouseEvent*)"))
        .invoke(target, Qt::DirectConnection, QGenericArgument("QQuickMouseEvent*", &none));
}

QXmlStreamAttributes attributes(std::initializer_list<const char *> namesAndValues)
{
    QXmlStreamAttributes result;
    for (auto it = namesAndValues.begin(); it + 1 < namesAndValues.end(); it += 2)
        result.append(QLatin1String(*it), QLatin1String(*(it + 1)));
    return result;
}

} // namespace

// The list, dialer, text entry, panel link and drop site items inside their
// real QML components, read from panel-file text and, where values are to
// reach the device, bound to a scripted DSP on the loopback interface.
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
        panel->loadString(
            "<?xml version=\"1.0\"?>\n<ZDX><Controls>" + controls + "</Controls></ZDX>\n", context);
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
        if (!QTest::qWaitFor([&] { return dsp.read(dsp.received).endsWith(line); }, 10000))
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
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("properties");
        QTest::addColumn<QString>("values");     // as written, one a line
        QTest::addColumn<QStringList>("readAs"); // a value read in another form
        const QString base = "<x>0</x>|<y>0</y>|<width>150</width>|<height>30</height>|<xfract>0.25"
                             "</xfract>|<yfract>0</yfract>|<widthfract>0.5</widthfract>|"
                             "<heightfract>1</heightfract>";
        QTest::newRow("droplist")
            << "WDropList" << true
            << "<id>5</id>|<link>32800</link>|" + base +
                   "|<msg>Hall,Bar,Lobby</msg>|<index>10,20,30</index>|<hasBorder>1</hasBorder>|"
                   "<align>Right</align>"
            << QStringList{"<align>Right</align>", "<align>RIGHT</align>"};
        QTest::newRow("dialer") << "WDialer" << false << "<id>32800</id>|" + base << QStringList();
        QTest::newRow("textedit") << "WTextEdit" << false << "<id>2</id>|<link>1</link>|" + base
                                  << QStringList();
        QTest::newRow("panellink")
            << "WPanelLink" << true
            << base + "|<text>Lobby</text>|<path>..\\COLLECTION1\\Lobby</path>|<imagepath>"
                      "</imagepath>|<imagevalid>Text</imagevalid>|<buttonmode>Button</buttonmode>|"
                      "<hasBorder>1</hasBorder>|<face>bold</face>|<scale>1.5</scale>"
            << QStringList();
        // What a link reads as a label goes back after its own values.
        QTest::newRow("panellink as label")
            << "WPanelLink" << true
            << base + "|<text>Go</text>|<path></path>|<imagepath></imagepath>|<imagevalid>Image"
                      "</imagevalid>|<buttonmode>Blank</buttonmode>|<hasBorder>0</hasBorder>|"
                      "<align>center</align>|<color>#ff112233</color>|<rotation>90</rotation>|"
                      "<edit>true</edit>|<select>false</select>|<autosize>true</autosize>"
            << QStringList();
        QTest::newRow("dropsite") << "WDropSite" << false
                                  << base + "|<title>Mic</title>|<type>Slider</type>|<scale>1.25"
                                            "</scale>"
                                  << QStringList();
    }

    void itemsRoundTrip()
    {
        QFETCH(QString, className);
        QFETCH(bool, properties);
        QFETCH(QString, values);
        QFETCH(QStringList, readAs);
        const QString type = QString(QTest::currentDataTag()).section(QLatin1Char(' '), 0, 0);
        const QString text = QStringLiteral("<%1>\n\t%2\n</%1>\n")
                                 .arg(type, values.replace(QLatin1Char('|'), "\n\t"));
        QString input = text;
        if (!readAs.isEmpty())
            input.replace(readAs.at(0), readAs.at(1));
        WWidget *item = itemOf(read(control(QStringLiteral("Item"), input)));
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
        const QStringList abc = {"A", "B", "C"};
        const QStringList inputs = {"Laptop HDMI", "Wireless Mic"};
        QTest::newRow("index after msg") << "<msg>A,B,C</msg><index>10,20,30</index>"
                                         << "" << abc << QList<int>{10, 20, 30} << 1;
        QTest::newRow("msg after index") << "<index>10,20</index><msg>A,B,C</msg>"
                                         << "" << abc << QList<int>{1, 2, 3} << 1;
        QTest::newRow("block names")
            << "<node>names</node>"
            << "block" << QStringList{"Laptop", "Mic"} << QList<int>{1, 3} << 3;
        QTest::newRow("parameter sets")
            << "<node>ParameterSets</node>"
            << "sets" << QStringList{"Presentation", "Video Call"} << QList<int>{1, 2} << 3;
        QTest::newRow("picked parameter sets")
            << "<node>ParameterSets</node>"
            << "picked sets" << QStringList{"Video Call", "Presentation"} << QList<int>{2, 1} << 3;
        QTest::newRow("group") << "<group>names</group>"
                               << "group" << inputs << QList<int>{1, 2} << 4;
        QTest::newRow("group item text") << "<item>names</item>"
                                         << "group" << inputs << QList<int>{1, 2} << 0;
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
        } else if (owner == QLatin1String("group")) {
            block = new HGroup();
            block->readProperty(QStringLiteral("groupType"), QStringLiteral("Selector"));
            for (const char *name : {"Laptop HDMI", "Wireless Mic"})
                block->readAssignment(
                    attributes({"targetID", "31", "targetProp", "name1", "targetValue", name}));
        } else if (owner.endsWith(QLatin1String("sets"))) {
            const QStringList labels = {"Presentation", "Video Call", "Unused Draft"};
            for (int i = 0; i < labels.size(); ++i) {
                auto *set = new HParameterSet();
                set->setLabel(labels.at(i));
                set->setIndex(i + 1);
                // The design referenced the first two only.
                set->setFlag(HNode::NotReferenced, i == 2);
                set->setOrder(owner.startsWith(QLatin1String("picked")) ? 1 - i : -1);
                m_pChassis->addChild(set);
                block = block ? block : set;
            }
        }
        if (block && !block->parent())
            m_pChassis->addChild(block);
        auto *list = itemOf<WDropList>(
            read(control("DropList", "<droplist>" + Box + values + "</droplist>"), block));
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
        QString controls;
        for (const char *values : {"<file>Sources.txt</file>", "<file>Gone.txt</file>",
                                   "<file>Sources.txt</file><index>5,6,7</index>"})
            controls += control("DropList", "<droplist>" + Box + values + "</droplist>");
        QFile panel(dir.filePath(QStringLiteral("show.cpf")));
        QVERIFY(panel.open(QIODevice::WriteOnly));
        panel.write("<?xml version=\"1.0\"?>\n<ZDX><Controls>" + controls.toUtf8() +
                    "</Controls></ZDX>\n");
        panel.close();
        QVERIFY2(m_pModel->open(panel.fileName()), qPrintable(m_pModel->lastError()));
        CComposite *shown = m_pModel->currentPanel();
        QVERIFY(shown && shown->childCount() == 3);
        auto *list = itemOf<WDropList>(shown->childAt(0));
        QVERIFY(list);
        QCOMPARE(list->items(), QStringList({"Laptop", "Mic", "TV"}));
        QCOMPARE(list->sourceKind(), int(WDropList::FileSource));
        QVERIFY2(written(list).contains("<msg>Laptop,Mic,TV</msg>\n\t<index>1,2,3</index>"),
                 qPrintable(written(list)));
        QVERIFY(itemOf<WDropList>(shown->childAt(1))->items().isEmpty());
        QCOMPARE(itemOf<WDropList>(shown->childAt(2))->items(), list->items());
        QCOMPARE(itemOf<WDropList>(shown->childAt(2))->values(), QList<int>({5, 6, 7}));
    }

    void listChoiceReachesTheDevice_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<QList<int>>("choices"); // as the popup reports them; -1 cancels
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("caption");
        QTest::newRow("msg numbers")
            << "<msg>A,B,C</msg>" << QList<int>{1} << QByteArray("SA \"Sel\">1=2\r") << "B";
        QTest::newRow("index values") << "<msg>A,B,C</msg><index>10,20,30</index>" << QList<int>{2}
                                      << QByteArray("SA \"Sel\">1=30\r") << "C";
        QTest::newRow("one message per change")
            << "<msg>A,B,C</msg>" << QList<int>{1, 1, 3, 0}
            << QByteArray("SA \"Sel\">1=2\rSA \"Sel\">1=1\r") << "A";
        QTest::newRow("cancel") << "<msg>A,B,C</msg>" << QList<int>{-1} << QByteArray() << "";
    }

    void listChoiceReachesTheDevice()
    {
        QFETCH(QString, values);
        QFETCH(QList<int>, choices);
        QFETCH(QByteArray, sent);
        QFETCH(QString, caption);
        ScriptedDsp dsp;
        CControl *selector =
            read(control("DropList", "<droplist>" + Box + values + "</droplist>", Selector, "Sel"));
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

        // A device value shows its entry; one not listed shows none.
        for (int value : {list->values().last(), 99}) {
            selector->transform()->fromInt(value);
            list->inputValue();
            const int index = value == 99 ? -1 : list->values().size() - 1;
            QCOMPARE(list->currentIndex(), index);
            QCOMPARE(list->rootProperty("currentIndex").toInt(), index);
            QCOMPARE(list->rootProperty("currentText").toString(), list->items().value(index));
        }
    }

    void dialerKeypadChain_data()
    {
        QTest::addColumn<uint>("state");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("typed number and call")
            << 1u << QStringList{"0", "1", "2", "BackSpace", "2", "3", "Call"} << "0123"
            << QByteArray("MA \"Phone\">1=0123\r");
        QTest::newRow("digits only") << 1u << QStringList{"4", "#", "*"} << "4#*" << QByteArray();
        QTest::newRow("backspace on empty")
            << 1u << QStringList{"BackSpace", "End", "Answer"} << "" << QByteArray();
        QTest::newRow("dialing ends")
            << 2u << QStringList{"5", "End"} << "" << QByteArray("MA \"Phone\">2\r");
        QTest::newRow("connected tones") << 3u << QStringList{"5", "#"} << "5#"
                                         << QByteArray("MA \"Phone\">6=5\rMA \"Phone\">6=#\r");
        QTest::newRow("connected ends")
            << 3u << QStringList{"End"} << "" << QByteArray("MA \"Phone\">2\r");
        QTest::newRow("ringing answers")
            << 4u << QStringList{"Call", "Answer"} << "" << QByteArray("MA \"Phone\">3\r");
    }

    void dialerKeypadChain()
    {
        QFETCH(uint, state);
        QFETCH(QStringList, keys);
        QFETCH(QString, shown);
        QFETCH(QByteArray, sent);
        ScriptedDsp dsp;
        CControl *phone =
            read(control("Dialer", "<dialer><id>32800</id>" + Box + "</dialer>", Phone, "Phone"));
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
        CControl *phone = read(control("Dialer", "<dialer>" + Box + "</dialer>", Phone, "Phone"));
        auto *dialer = itemOf<WDialer>(phone);
        QVERIFY(dialer);
        const auto status = [dialer] { return dialer->rootProperty("status").toString(); };
        QCOMPARE(status(), QStringLiteral("Ready"));
        QVERIFY(goOnline(dsp));
        QVERIFY(pollUntil(phone, [&] { return status() == QLatin1String("Connected"); }));
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
                         .arg(links.value(i, 1))
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
        QVERIFY(goOnline(dsp));

        // The slider moved: the entries linked on show its value once each.
        level->transform()->setDisplay(-10.5f);
        const QString display = level->transform()->displayText();
        start->linkedItem()->linkValue(start);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(entries.at(i)->rootText(), display);
            QCOMPARE(shown.at(i)->count(), 1);
        }
        QCOMPARE(shown.last()->count(), 0);
        // Typing into the first sends once; the rest already show the value.
        entries.first()->setRootText(QStringLiteral("7"));
        QCOMPARE(settled(dsp, level->transform()), QByteArray("SA \"Level\">1=7\r"));
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
        QCOMPARE(link->attribute(0x4501).toString(), QStringLiteral("..\\COLLECTION2\\Bar"));
        QCOMPARE(link->rootText(), QStringLiteral("<b>Bar</b>"));
        QVERIFY(click(link->root(), "linkArea"));
        QCOMPARE(m_pModel->currentPanel(), bar);
        QCOMPARE(m_pModel->currentCollection(), lounge);
        QVERIFY2(!link->root()->isVisible(), "the panel left is still shown");

        link->replacePathPrefix(QStringLiteral("..\\COLLECTION1"), QStringLiteral("..\\X"));
        link->replacePathPrefix(QStringLiteral("..\\COLLECTION2"), QStringLiteral("..\\Lounge"));
        QCOMPARE(link->path(), QStringLiteral("..\\Lounge\\Bar"));
        // A path to nowhere leaves the panel shown.
        m_pModel->selectCollection(0);
        link->selectPanel();
        QCOMPARE(m_pModel->currentPanel(), home);
        QVERIFY(link->root()->isVisible());

        link->setAttribute(0x4501, QString());
        link->selectPanel();
        QPointer<QObject> message = VModeManager::instance()->modalObject();
        QVERIFY(message);
        QCOMPARE(message->property("text").toString(),
                 QStringLiteral("Error - No link has been defined for this region.\n\n"
                                "Please set a link using the properties panel."));
        QCOMPARE(message->property("button").toString(), QStringLiteral("OK"));
        VModeManager::instance()->cancel();
        QTRY_VERIFY(!message);
        QCOMPARE(m_pModel->currentPanel(), home);
    }

    void dropSiteAcceptsOnlyItsKind_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("occupied");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        const QString kind = "Cannot drop a Button on a Slider site.";
        const QString overwrite = "There is already a control in this location.\n"
                                  "Do you want to overwrite?";
        QTest::newRow("its kind") << "Level" << false << 0 << true << "";
        QTest::newRow("another kind") << "Mute" << false << 0 << false << kind;
        QTest::newRow("no such entry") << "Gain" << false << 0 << false << "";
        QTest::newRow("occupied, overwrite")
            << "Level" << true << int(QMessageBox::Yes) << true << overwrite;
        QTest::newRow("occupied, keep")
            << "Level" << true << int(QMessageBox::No) << false << overwrite;
    }

    // The site accepts its kind only, holds the control whose id it stores,
    // and clearing it hands that control out of the document.
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
        const QString held =
            control("Label", "<label><x>5</x><y>5</y><width>20</width><height>10</height></label>",
                    QString(), QString(), 901);
        CControl *site = read(control("DropSite", "<dropsite>" + Box + "<type>Slider</type>" +
                                                      (occupied ? "<child>901</child>" : "") +
                                                      "</dropsite><label>" + Box +
                                                      "<text>Title</text></label>") +
                              (occupied ? held : QString()));
        auto *dropSite = itemOf<WDropSite>(site);
        QVERIFY(dropSite);
        QCOMPARE(dropSite->rootProperty("enableDrop").toBool(), !occupied);
        RecordingMessageHandler messages;
        messages.queueAnswer(QMessageBox::StandardButton(answer));
        QCOMPARE(dropSite->acceptDrop(&node, entry), accepted);
        QCOMPARE(messages.count(), message.isEmpty() ? 0 : 1);
        QCOMPARE(messages.last().text, message);
        if (!occupied)
            return;

        CComposite *panel = m_pModel->currentPanel();
        CControl *label = panel->childAt(panel->indexOf(site) + 1);
        QCOMPARE(dropSite->child(), label);
        QCOMPARE(label->dropSiteHost(), site);
        QCOMPARE(itemOf(site, 1)->rootText(), label->name());
        QVERIFY2(written(dropSite).contains("<type>Slider</type>\n\t<child>901</child>"),
                 qPrintable(written(dropSite)));
        // Moving the site moves what it holds; the held control alone stays.
        site->moveBy(10, 0);
        QCOMPARE(label->bounds().x(), 15.0);
        label->moveBy(10, 0);
        QCOMPARE(label->bounds().x(), 15.0);

        dropSite->setChild(nullptr);
        std::unique_ptr<CControl> taken(label);
        QVERIFY(!panel->contains(label) && !label->dropSiteHost() && !dropSite->hasChild());
        QCOMPARE(dropSite->itemId(), 0u);
        QCOMPARE(dropSite->rootProperty("enableDrop").toBool(), true);
        QCOMPARE(itemOf(site, 1)->rootText(), QStringLiteral("Title"));
        QVERIFY(!written(dropSite).contains("<child>"));
    }
};

ZRB_TEST_MAIN(TestLists)
#include "tst_lists.moc"
