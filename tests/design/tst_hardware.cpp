#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "DesignTestUtil.h"
#include "design/CParameter.h"
#include "design/HAudioIO.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HGroup.h"
#include "design/HNodeFactory.h"
#include "design/HParameterSet.h"
#include "design/HRoot.h"
#include "design/HTemplateCache.h"
#include "design/HTorvaLink.h"
#include "design/XParameterHandler.h"
#include "device/IInterface.h"
#include "device/PProtocol.h"
#include "document/io/XmlWriter.h"

#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTcpServer>
#include <QtTest>

#include <memory>

using namespace DesignTestUtil;

namespace {

// A block whose template is a file of the test's own.
class FileBlock : public HBlock
{
public:
    explicit FileBlock(const QString &path) : m_path(path) {}
    QString templatePath(const QString &) override { return m_path; }

private:
    QString m_path;
};

HChassis *makeChassis(const QString &label, const QString &title,
                      const QString &deviceType = QStringLiteral("Torva800"))
{
    auto *chassis = new HChassis;
    chassis->readProperty(QStringLiteral("label"), label);
    chassis->readProperty(QStringLiteral("title"), title);
    chassis->readProperty(QStringLiteral("deviceType"), deviceType);
    return chassis;
}

template <typename T = HBlock>
T *makeNode(const QString &label, const QString &title = "Gain", const QString &typenum = "0")
{
    auto *node = new T;
    node->setLabel(label);
    node->setTitle(title);
    node->setTypenum(typenum);
    return node;
}

HAudioIO *makeCard(const QString &label, const QString &module, int direction)
{
    auto *card = new HAudioIO(module, direction);
    card->setLabel(label);
    return card;
}

// A row's flags and icon path.
QString rowInfo(const QStandardItem *row)
{
    return QString::number(int(row->flags())) + QLatin1Char(' ') +
           row->data(HNode::IconPathRole).toString();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName()
                                                                                : QString();
}

// What the factory made, as the node table names it.
QString kindOf(HNode *node)
{
    if (auto *card = dynamic_cast<HAudioIO *>(node)) {
        QStringList parts = {dynamic_cast<HTorvaLink *>(card) ? "link" : "card",
                             QString::number(card->direction())};
        if (!card->moduleName().isEmpty())
            parts << card->moduleName();
        return parts.join(QLatin1Char(' '));
    }
    if (dynamic_cast<HChassis *>(node))
        return QStringLiteral("chassis");
    if (dynamic_cast<HGroup *>(node))
        return QStringLiteral("group");
    if (dynamic_cast<HParameterSet *>(node))
        return QStringLiteral("set");
    return dynamic_cast<HBlock *>(node) ? QStringLiteral("block") : QStringLiteral("none");
}

// A node's field by its name in the node table; "valid" runs validate().
QString fieldOf(HNode *node, const QString &key)
{
    if (key == QLatin1String("kind"))
        return kindOf(node);
    if (key == QLatin1String("valid"))
        return node->validate() ? "yes" : "no";
    if (key.startsWith(QLatin1String("prop.")))
        return node->property(key.mid(5));
    auto *chassis = dynamic_cast<HChassis *>(node);
    auto *group = dynamic_cast<HGroup *>(node);
    // The link's channel labels that are set, as "channel:label".
    QStringList channels;
    for (int channel = -1; channel <= HTorvaLink::ChannelCount; ++channel) {
        if (!node->channelLabel(channel).isEmpty())
            channels << QString::number(channel) + ':' + node->channelLabel(channel);
    }
    const QMap<QString, QString> fields = {
        {"title", node->title()},
        {"label", node->label()},
        {"typenum", node->typenum()},
        {"module", QString::number(node->module())},
        {"channel", QString::number(node->channel())},
        {"index", QString::number(node->index())},
        {"nodeID", QString::number(node->nodeID())},
        {"names", node->names()},
        {"category", node->category()},
        {"channels", channels.join(' ')},
        {"main", node->hasFlag(HNode::MainChassis) ? "yes" : "no"},
        {"groupType", group ? group->groupType() : "-"},
        {"ip", chassis ? chassis->ipAddress() : "-"},
        {"ipPort", chassis ? chassis->ipPort() : "-"},
        {"monitor", chassis ? chassis->monitorPort() : "-"},
        {"serial", chassis ? chassis->serialPortNumber() : "-"},
        {"platform", chassis ? chassis->platform() : "-"},
        {"interface", chassis && chassis->interface() ? "yes" : "no"}};
    return fields.value(key, QStringLiteral("?"));
}

// The items a panel file can hold, and every key and attribute name an item
// or an attribute record reads: a name outside these is a typo.
const QStringList ItemNames =
    QStringLiteral("label slider textedit dialer button cmdbutton "
                   "droplist bounds frame textlink panellink image region")
        .split(' ');
const QStringList ItemKeys =
    QStringLiteral("x y width height id link xfract yfract widthfract heightfract orient knobcolor "
                   "action title ontext offtext onimage offimage imagesize hasBorder command msg "
                   "file node group item index align text color face rotation scale edit select "
                   "autosize shape shadow fieldcolor bordercolor borderwidth paramidx buttonmode "
                   "path imagepath imagevalid polygon")
        .split(' ');
const QStringList AttributeKeys =
    QStringLiteral("index1 index2 link set format units minimum maximum step transform field "
                   "struct minLimit maxLimit enableEdit channelLabel")
        .split(' ');

// A Control element of a template: its attribute record and its items.
struct TemplateControl
{
    QString name;
    QString type;
    QString kind;
    QMap<QString, QString> attributes;
    QList<QPair<QString, QMap<QString, QString>>> items;
};

QList<TemplateControl> readControls(const QByteArray &bytes)
{
    QDomDocument document;
    document.setContent(bytes);
    QList<TemplateControl> controls;
    const QDomNodeList elements = document.elementsByTagName(QStringLiteral("Control"));
    for (int i = 0; i < elements.count(); ++i) {
        const QDomElement element = elements.at(i).toElement();
        TemplateControl control{element.attribute("name"), element.attribute("type"), {}, {}, {}};
        for (QDomElement property = element.firstChildElement("Property"); !property.isNull();
             property = property.nextSiblingElement("Property")) {
            for (QDomElement part = property.firstChildElement(); !part.isNull();
                 part = part.nextSiblingElement()) {
                QMap<QString, QString> values;
                for (QDomElement value = part.firstChildElement(); !value.isNull();
                     value = value.nextSiblingElement())
                    values.insert(value.tagName(), value.text());
                if (property.attribute("name") == QLatin1String("widget")) {
                    control.items.append({part.tagName(), values});
                } else {
                    control.kind = part.tagName();
                    control.attributes = values;
                }
            }
        }
        controls.append(control);
    }
    return controls;
}

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Stands where the application model takes the interfaces' status reports.
class StatusReceiver : public QObject
{
    Q_OBJECT
public:
    QList<uint> statuses;

public slots:
    void interfaceStatusChanged(uint status) { statuses.append(status); }
};

class tst_hardware : public QObject
{
    Q_OBJECT

private slots:
    void shippedTemplates_data()
    {
        QTest::addColumn<QString>("path");
        QDirIterator files(QStringLiteral(":/data"), {QStringLiteral("*.xml")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QTest::newRow(qPrintable(path.mid(7))) << path;
        }
    }

    void shippedTemplates()
    {
        // Graphics and the panel link are one control each, of the type the
        // file is named for; the rest are module templates.
        QFETCH(QString, path);
        const QString base = QFileInfo(path).baseName();
        const bool graphic = path.contains(QLatin1String("/Graphics/")) || base == "Link";
        const QByteArray bytes = resourceBytes(path);
        // Module templates are written in the designer's own encoding.
        if (!graphic)
            QVERIFY2(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>"),
                     qPrintable(QString::fromLatin1(bytes.left(60))));
        QDomDocument document;
        QVERIFY(document.setContent(bytes));
        const QDomElement root = document.documentElement();
        QCOMPARE(root.tagName(), QStringLiteral("ZDX"));
        QVERIFY(!root.firstChildElement(QStringLiteral("Parameters")).isNull());
        QVERIFY(!root.firstChildElement(QStringLiteral("Controls")).isNull());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QList<CParameter *> parameters;
        XParameterHandler handler(&parameters);
        QVERIFY2(handler.parse(&file), qPrintable(handler.errorText()));
        QStringList names;
        QStringList read;
        for (CParameter *parameter : qAsConst(parameters)) {
            names << parameter->text();
            read << parameter->text() + '|' + parameter->type();
        }
        qDeleteAll(parameters);
        // The kept copy of a template (asked for twice: read, then kept)
        // offers what a fresh read of the file does.
        for (int round = 0; round < 2; ++round) {
            const HTemplateCache::Template kept = HTemplateCache::parameters(path);
            QVERIFY(kept.found && kept.parsed);
            QStringList keptRead;
            for (const HTemplateCache::Parameter &parameter : kept.parameters)
                keptRead << parameter.text + '|' + parameter.type;
            QCOMPARE(keptRead, read);
        }
        const QList<TemplateControl> controls = readControls(bytes);
        QVERIFY(!controls.isEmpty());
        // Dropping a parameter takes the one control of the same name.
        for (const QString &name : qAsConst(names)) {
            int count = 0;
            for (const TemplateControl &control : controls)
                count += control.name == name ? 1 : 0;
            QVERIFY2(count == 1, qPrintable("no single control " + name));
        }
        if (graphic) {
            QVERIFY(names.isEmpty());
            QCOMPARE(controls.count(), 1);
            QCOMPARE(controls.first().type, base == "Link" ? QStringLiteral("PanelLink") : base);
            QCOMPARE(controls.first().items.count(), 1);
            const QMap<QString, QString> &item = controls.first().items.first().second;
            QVERIFY(item.value("width").toDouble() > 0.0 && item.value("height").toDouble() > 0.0);
        }

        // Ids from 32769 on link controls of a panel and are not shared.
        QStringList panelIds;
        for (const TemplateControl &control : controls) {
            for (const auto &item : control.items) {
                const QString id = item.second.value("id");
                QVERIFY2(id.toUInt() < 32769 || !panelIds.contains(id), qPrintable("id " + id));
                if (id.toUInt() >= 32769)
                    panelIds << id;
            }
        }

        // Every item and attribute key is one the panel-file reader takes.
        for (const TemplateControl &control : controls) {
            const QString where = control.name;
            QMap<QString, QString> controlIds; // id -> item
            for (const auto &item : control.items)
                controlIds.insert(item.second.value("id"), item.first);
            QStringList links; // "item>linked item" inside the control
            bool hasMainItem = false;
            for (const auto &item : control.items) {
                QVERIFY2(ItemNames.contains(item.first),
                         qPrintable(where + ": unknown item " + item.first));
                for (const QString &key : item.second.keys())
                    QVERIFY2(ItemKeys.contains(key), qPrintable(where + ": unknown key " + key));
                const QString link = item.second.value("link");
                QVERIFY2(link.isEmpty() || (link.toUInt() >= 32769 ? panelIds.contains(link)
                                                                   : controlIds.contains(link)),
                         qPrintable(where + ": nothing has the linked id " + link));
                if (!link.isEmpty())
                    links << item.first + '>' + controlIds.value(link);
                hasMainItem = hasMainItem || item.first == control.type.toLower();
                // Fractions, where given, lie inside the frame.
                for (const char *key : {"xfract", "yfract", "widthfract", "heightfract"}) {
                    bool ok = true;
                    const double value = item.second.value(key, "0").toDouble(&ok);
                    QVERIFY2(ok && value >= 0.0 && value <= 1.0, qPrintable(where + ": " + key));
                }
            }
            QVERIFY2(hasMainItem, qPrintable(where + ": no item " + control.type.toLower()));
            // A fader's slider and value box drive each other.
            if (control.type == QLatin1String("Slider"))
                QVERIFY2(links.contains("slider>textedit") && links.contains("textedit>slider"),
                         qPrintable(where + ": " + links.join(' ')));
            for (const QString &key : control.attributes.keys())
                QVERIFY2(AttributeKeys.contains(key), qPrintable(where + ": attribute " + key));
            if (control.kind == QLatin1String("range")) {
                QCOMPARE(control.attributes.value("minLimit"), control.attributes.value("minimum"));
                QCOMPARE(control.attributes.value("maxLimit"), control.attributes.value("maximum"));
            }
        }
    }

    void parameterWhitespaceAndIcons()
    {
        QList<CParameter *> list;
        XParameterHandler handler(&list);
        QVERIFY(handler.parseText(QStringLiteral(
            "<ZDX><Parameters>"
            "<parameter><text>\n\t  Master   Level\t\n</text><type>  Slider </type></parameter>"
            "<parameter><text>Caption</text><type>Label</type></parameter>"
            "<parameter><text>Set</text><type>ParameterSet</type></parameter>"
            "<parameter><text>Pick</text><type>DropList</type><extra><text>not me</text></extra>"
            "</parameter>"
            "</Parameters><Controls><Control name=\"x\"><parameter><text>Hidden</text></parameter>"
            "</Control></Controls></ZDX>")));
        QStringList read;
        for (CParameter *parameter : list)
            read << parameter->text() + QLatin1Char('|') + parameter->type() + QLatin1Char('|') +
                        parameter->iconPath();
        qDeleteAll(list);
        QCOMPARE(read, QStringList({"Master Level|Slider|:/images/SliderIcon.png", "Caption|Label|",
                                    "Set|ParameterSet|:/images/ParameterSetIcon.png",
                                    "Pick|DropList|:/images/DropListIcon.png", "Hidden||"}));
        QCOMPARE(CParameter::iconPathForType("Button"), QStringLiteral(":/images/ButtonIcon.png"));
        QCOMPARE(CParameter::iconPathForType("button"), QString());
    }

    void nodesReadTheirProperties_data()
    {
        // A node the factory makes for a type name (cards get module AIN-4),
        // given design properties in order ("@key": a panel file's connection
        // record, "#typeNumber": the element's type number), and what its fields
        // are then; "valid" is what validate() answers at that point.
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QStringList>("properties");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *tag, const char *typeName, const QStringList &properties,
                      const char *expected) {
            QTest::newRow(tag) << typeName << properties << expected;
        };
        row("Pekko", "Pekko", {}, "kind=chassis");
        row("input card", "Input", {}, "kind=card 1 AIN-4|category=Analog I/O");
        row("output card", "Output", {}, "kind=card 2 AIN-4");
        row("lower-case torva is a block", "torva", {}, "kind=block");
        for (const char *ignored :
             {"", "Tandra", "Serialin", "Serialout", "GPO", "GPI", "DeviceNode"})
            row(*ignored ? ignored : "empty", ignored, {}, "kind=none");

        // Only the block kinds a panel can drive pass.
        for (const char *title : {"Gain", "Selector", "ToneEQ", "EchoCancel"})
            row(qPrintable(QStringLiteral("block %1").arg(title)), "Gain",
                {QStringLiteral("title=") + title}, "kind=block|valid=yes");
        for (const char *title : {"Gain 2", "gain", "Matrix"})
            row(qPrintable(QStringLiteral("block %1").arg(title)), "Gain",
                {QStringLiteral("title=") + title}, "valid=no");
        row("block fields", "Gain",
            {"title=Selector", "label=Source", "module=3", "channel=x7", "index=12", "nodeID=-4",
             "name1=Mic", "nameB=Line", "unknown=9", "names="},
            "title=Selector|label=Source|module=3|channel=0|index=12|nodeID=-4|names=Mic,Line,,|"
            "prop.label=Source|prop.category=Blocks|prop.module=");

        // A chassis passes when its model is in its platform's dictionary.
        auto chassis = [&row](const char *tag, const char *title, const char *deviceType,
                              bool valid) {
            QStringList properties = {QStringLiteral("title=") + title};
            if (*deviceType)
                properties << QStringLiteral("deviceType=") + deviceType;
            row(tag, "Torva", properties, valid ? "kind=chassis|valid=yes" : "valid=no");
        };
        chassis("Torva model", "TV-800", "Torva800", true);
        chassis("model and name", "TV-3200 (Main Rack)", "Torva3200", true);
        chassis("name without blank", "TV-800(Rack)", "Torva800", false);
        chassis("model prefix only", "TV-80 (x)", "Torva800", false);
        chassis("unknown model", "TV-9000", "Torva9000", false);
        chassis("Rallen model", "RX-1280 (Amp)", "RallenRX1280", true);
        chassis("Rallen model on Torva", "RX-160", "Torva", false);
        chassis("no deviceType keeps Torva", "TV-400", "", true);
        chassis("other platform", "TV-400", "Tandra", false);
        row("chassis fields", "Torva",
            {"title=TV-800 (Rack)", "label=Rack", "ipAddress=10.0.0.5", "ipPort=10055",
             "monitorPort=10057", "serialPortNumber=2001", "deviceType=RallenRX640",
             "isMainTorva=true"},
            "title=TV-800 (Rack)|label=Rack|ip=10.0.0.5|ipPort=10055|monitor=10057|serial=2001|"
            "platform=Rallen|main=no");
        row("only the exact text True makes it main", "Torva", {"isMainTorva=True"}, "main=yes");
        row("device of another maker", "Torva", {"deviceType=Tandra9"}, "platform=");
        row("device type read again", "Torva", {"deviceType=Tandra9", "deviceType=Torva400"},
            "platform=Torva");
        row("connection record", "Torva",
            {"label=Rack", "@title=TV-400", "@ipaddress=10.0.0.9", "@ipport=1", "@monitorport=2",
             "@serialport=3", "@platform=Rallen", "@ipAddress=ignored"},
            "title=TV-400|label=Rack|ip=10.0.0.9|ipPort=1|monitor=2|serial=3|platform=Rallen|"
            "interface=no");

        // Groups and parameter sets take their type numbers from their kind.
        const char *const groups[][2] = {{"Level", "0"},
                                         {"Level + Mute", "1"},
                                         {"Mute", "2"},
                                         {"Selector", "3"},
                                         {"Matrix", "7"}};
        for (const auto &group : groups)
            row(qPrintable(QStringLiteral("group %1").arg(group[0])), "Group",
                {"title=Group", QStringLiteral("groupType=") + group[0], "#typeNumber=7"},
                qPrintable(QStringLiteral("kind=group|valid=yes|typenum=") + group[1]));
        row("group names are not read", "Group", {"groupType=Mute", "name1=ignored"},
            "groupType=Mute|names=");
        row("parameter set", "ParameterSet", {"title=Param. Set 2", "#typeNumber=7"},
            "kind=set|valid=yes|typenum=0|title=ParamSet2");

        // "label1" to "label8" name the link's channels; "Ch n" gets a prefix.
        auto link = [&row](const char *tag, const char *name, const char *value,
                           const char *channels) {
            row(tag, "TorvaLinkTx", {"label=Link", QString::fromLatin1(name) + '=' + value},
                qPrintable(QStringLiteral("channels=%1|label=Link").arg(channels)));
        };
        link("label3 Ch 4", "label3", "Ch 4", "2:TorvaLink-Ch 4");
        link("label1 plain", "label1", "Lobby", "0:Lobby");
        link("label8 Ch 12 too long", "label8", "Ch 12", "7:Ch 12");
        link("label2 Ch 9", "label2", "Ch 9", "1:TorvaLink-Ch 9");
        for (const char *name : {"label9", "label0", "labelx", "label10"})
            link(qPrintable(QStringLiteral("%1 is no channel").arg(name)), name, "Ch 1", "");
        row("the card's own label", "TorvaLinkTx", {"label1=Lobby", "label=Annex"},
            "kind=link 3|channels=0:Lobby|label=Annex|category=Digital I/O");
    }

    void nodesReadTheirProperties()
    {
        QFETCH(QString, typeName);
        QFETCH(QStringList, properties);
        QFETCH(QString, expected);
        std::unique_ptr<HNode> node(HNodeFactory::create(typeName, QStringLiteral("AIN-4")));
        if (!node) {
            QCOMPARE(QStringLiteral("kind=none"), expected);
            return;
        }
        QVERIFY2(node->hasFlag(HNode::NotReferenced), "fresh nodes wait for a reference");
        for (const QString &property : qAsConst(properties)) {
            const QString name = property.section(QLatin1Char('='), 0, 0);
            const QString value = property.section(QLatin1Char('='), 1);
            if (name.startsWith(QLatin1Char('@'))) {
                node->setConnectionValue(name.mid(1), value);
                node->endConnectionValue(name.mid(1));
            } else if (name == QLatin1String("#typeNumber")) {
                node->setTypenum(value);
            } else {
                node->readProperty(name, value);
            }
        }
        QStringList actual;
        for (const QString &pair : expected.split(QLatin1Char('|'))) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            actual << key + QLatin1Char('=') + fieldOf(node.get(), key);
        }
        QCOMPARE(actual.join(QLatin1Char('|')), expected);
    }

    void templatesOfNodes_data()
    {
        // A node of the factory's type name (its title too), with a card's module
        // or a group's type, in a chassis of the platform ("": in none): the
        // template it names, its category, what loading the template answers
        // and how many parameters the node then has.
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("typenum");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<int>("parameters");
        auto row = [](const char *tag, QString platform, QString typeName, QString module,
                      QString typenum, QString path, QString category, int loaded, int parameters) {
            QTest::newRow(tag) << platform << typeName << module << typenum << path << category
                               << loaded << parameters;
        };
        const char *const in = "Analog I/O";
        const char *const dig = "Digital I/O";
        row("gain", "Torva", "Gain", "", "0", ":/data/Torva/Gain_0.xml", "Blocks", 2, 2);
        row("selector", "Torva", "Selector", "", "2", ":/data/Torva/Selector_2.xml", "Blocks", 2,
            1);
        row("whole panel", "Torva", "ToneEQ", "", "0", ":/data/Torva/ToneEQ_0.xml", "Blocks", 1, 0);
        row("missing template", "Torva", "Gain", "", "9", ":/data/Torva/Gain_9.xml", "Blocks", 0,
            0);
        row("outside a chassis", "", "Gain", "", "0", ":/data//Gain_0.xml", "Blocks", 0, 0);
        row("digital input", "Torva", "Input", "DIN-8", "2", ":/data/Torva/In_0.xml", dig, 2, 2);
        row("analog input", "Torva", "Input", "MIC-4", "2", ":/data/Torva/Input_2.xml", in, 2, 2);
        row("link output", "Torva", "Output", "LINK-OUT", "2", ":/data/Torva/Out_0.xml", dig, 2, 2);
        // The module is looked up in the dictionary of the card's direction only.
        row("input module as output", "Torva", "Output", "DIN-8", "2", "", in, 0, 0);
        row("unknown module", "Torva", "Input", "AIN-16", "2", "", in, 0, 0);
        row("no module", "Torva", "Input", "", "2", "", in, 0, 0);
        row("amplifier", "Rallen", "Output", "AMP-OUT", "1", ":/data/Rallen/Amp_1.xml", in, 2, 2);
        row("Torva module on Rallen", "Rallen", "Input", "AIN-4", "1", "", in, 0, 0);
        row("link", "Torva", "TorvaLinkTx", "", "0", ":/data/Torva/TorvaLink_0.xml", dig, 2, 16);
        row("group", "Torva", "Group", "Level + Mute", "0", ":/data/Zindral/Group_1.xml", "Groups",
            2, 2);
    }

    void templatesOfNodes()
    {
        QFETCH(QString, platform);
        QFETCH(QString, typeName);
        QFETCH(QString, module);
        QFETCH(QString, typenum);
        QFETCH(QString, path);
        QFETCH(QString, category);
        QFETCH(int, loaded);
        QFETCH(int, parameters);
        HRoot root;
        HChassis *rack = platform == QLatin1String("Rallen")
                             ? makeChassis("Amp", "RX-640", "RallenRX640")
                             : makeChassis("Rack", "TV-800");
        root.addChild(rack);
        HNode *node = HNodeFactory::create(typeName, module);
        QVERIFY(node);
        std::unique_ptr<HNode> loose(platform.isEmpty() ? node : nullptr);
        node->setTitle(typeName);
        node->setTypenum(typenum);
        if (auto *group = dynamic_cast<HGroup *>(node)) {
            group->setGroupType(module);
            QVERIFY(group->validate());
        }
        if (!loose)
            rack->addChild(node);
        QCOMPARE(node->templatePath(QString()), path);
        QCOMPARE(node->category(), category);
        QCOMPARE(node->loadParameters(), loaded);
        QCOMPARE(node->parameters().count(), parameters);
    }

    void brokenTemplateLeavesNoParameters()
    {
        TestDir dir;
        QVERIFY(dir.isValid());
        FileBlock block(
            writeFile(dir, "broken.xml",
                      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<ZDX><Parameters>"
                      "<parameter><text>Level</text><type>Slider</type></parameter>"
                      "<parameter><text>Mu"));
        QCOMPARE(block.loadParameters(), 1);
        QVERIFY(block.parameters().isEmpty());
        // Files outside the program's resources are read afresh each time.
        writeFile(dir, "broken.xml",
                  "<ZDX><Parameters><parameter><text>Level</text><type>Slider</type></parameter>"
                  "</Parameters><Controls/></ZDX>");
        QCOMPARE(block.loadParameters(), 2);
        QCOMPARE(block.parameters().first()->text(), QStringLiteral("Level"));
    }

    void populateTree()
    {
        HRoot empty;
        QStandardItemModel emptyRows;
        empty.populate(&emptyRows);
        QCOMPARE(rowListing(emptyRows), QStringLiteral("Groups\nParameterSets\n"));

        TestDir dir;
        QVERIFY(dir.isValid());
        HRoot root;
        HChassis *torva = makeChassis("Rack", "TV-800");
        HChassis *rallen = makeChassis("Amp", "RX-640", "RallenRX640");
        torva->setFlag(HNode::MainChassis, true);
        root.addChild(torva);
        root.addChild(rallen);
        HAudioIO *mics = makeCard("Mics", "MIC-4", HAudioIO::Input);
        HAudioIO *unknown = makeCard("Unknown", "AIN-16", HAudioIO::Input);
        HNode *tone = makeNode("Tone", "ToneEQ");
        auto *caption = new FileBlock(writeFile(
            dir, "label.xml",
            "<ZDX><Parameters><parameter><text>Caption</text><type>Label</type></parameter>"
            "</Parameters><Controls/></ZDX>"));
        caption->setLabel("Caption block");
        auto *group = makeNode<HGroup>("Speakers", "Group");
        group->setGroupType("Mute");
        QVERIFY(group->validate());
        auto *orphan = makeNode<HGroup>("Unknown type", "Group", QString());
        QList<HParameterSet *> sets;
        for (const char *label : {"Presentation", "Video Call"}) {
            sets.append(makeNode<HParameterSet>(label, "Param. Set"));
            QVERIFY(sets.last()->validate());
        }
        for (HNode *node :
             QList<HNode *>{mics, group, makeCard("Dante", "DIN-8", HAudioIO::Input), unknown,
                            sets.at(0), tone, makeNode("Program"), orphan, caption, sets.at(1)})
            torva->addChild(node);
        HAudioIO *zones = makeCard("Zones", "AMP-OUT", HAudioIO::Output);
        rallen->addChild(zones);
        HNode *ampGain = makeNode("Amp gain");
        rallen->addChild(ampGain);
        QStandardItemModel model;
        root.populate(&model);
        // Groups and parameter sets get their rows after all chassis.
        QCOMPARE(rowListing(model, true),
                 "Rack\n  Analog I/O\n" + levelMuteRows({"Mics"}) + "  Digital I/O\n" +
                     levelMuteRows({"Dante"}) + "  Blocks\n    Tone #panel\n" +
                     levelMuteRows({"Program"}) +
                     "    Caption block\n      Caption #control\nAmp\n  Analog I/O\n" +
                     levelMuteRows({"Zones"}) +
                     "  Digital I/O\nGroups\n  Speakers\n    Mute #control\nParameterSets\n"
                     "  ParameterList #control\n  Presentation #control\n  Video Call #control\n");

        // Flags, icons and the nodes the rows address.
        QStandardItem *rack = model.item(0);
        QStandardItem *toneRow = rack->child(2)->child(0);
        QStandardItem *levelRow = rack->child(0)->child(0)->child(0);
        QStandardItem *captionRow = rack->child(2)->child(2)->child(0);
        QStandardItem *setsRow = model.item(3);
        QCOMPARE(
            QStringList({rowInfo(rack), rowInfo(model.item(2)), rowInfo(toneRow), rowInfo(levelRow),
                         rowInfo(captionRow), rowInfo(setsRow->child(0)),
                         rowInfo(setsRow->child(1))}),
            QStringList({"49 ", "49 ", "2101 :/images/CompletePanel.png",
                         "1077 :/images/SliderIcon.png", "1077 ", "1077 :/images/DropListIcon.png",
                         "1077 :/images/ParameterSetIcon.png"}));
        QVERIFY2(captionRow->icon().isNull(), "a Label parameter has no icon");
        QCOMPARE(QList<HNode *>({HNode::nodeOfRow(rack), HNode::nodeOfRow(rack->child(0)),
                                 HNode::nodeOfRow(model.item(2)), HNode::nodeOfRow(toneRow),
                                 HNode::nodeOfRow(setsRow->child(0)),
                                 HNode::nodeOfRow(setsRow->child(2))}),
                 QList<HNode *>({torva, torva, &root, tone, sets.at(0), sets.at(1)}));
        QCOMPARE(levelRow->data(HNode::NodeRole).value<quint64>(), quint64(quintptr(mics)));
        QCOMPARE(mics->parameters().first()->item(), levelRow);
        QCOMPARE(sets.at(0)->parameters().count(), 2);
        QCOMPARE(sets.at(1)->parameters().count(), 1);
        // The first set's own row takes its template whole; the list row the
        // list template.
        QCOMPARE(sets.at(0)->templatePath("Presentation"),
                 QStringLiteral(":/data/Zindral/ParamSet_0.xml"));
        QCOMPARE(sets.at(0)->templatePath("ParameterList"),
                 QStringLiteral(":/data/Zindral/ParamList_0.xml"));
        QCOMPARE(sets.at(1)->templatePath("ParameterList"), QString());
        QString name = QStringLiteral("Presentation");
        sets.at(0)->clearText(name);
        QVERIFY(name.isEmpty());
        QVERIFY(sets.at(0)->confirmDrop("Presentation") &&
                sets.at(0)->confirmDrop("ParameterList"));
        QVERIFY(!sets.at(1)->confirmDrop("ParameterList") &&
                !sets.at(1)->confirmDrop("Presentation"));
        HParameterSet loose;
        loose.setLabel("Loose");
        QVERIFY(!loose.confirmDrop("ParameterList"));
        HBlock block;
        QVERIFY(block.confirmDrop("anything"));

        // Shown marks follow what got rows (or at least a template).
        QVERIFY(torva->hasFlag(HNode::Shown) && mics->hasFlag(HNode::Shown));
        QVERIFY(!unknown->hasFlag(HNode::Shown) && !orphan->hasFlag(HNode::Shown));
        QVERIFY2(!ampGain->hasFlag(HNode::Shown), "amplifiers have no block templates");

        // A rebuild gives the same rows and does not pile up parameters.
        QStandardItemModel again;
        root.populate(&again);
        QCOMPARE(rowListing(again), rowListing(model));
        QCOMPARE(mics->parameters().count(), 2);

        // Nodes without a template are purged; the rest stays.
        QVERIFY(!root.purgeUnshown());
        QCOMPARE(torva->childCount(), 8);
        QVERIFY(!torva->children().contains(unknown) && !torva->children().contains(orphan));
        QCOMPARE(rallen->children(), QList<HNode *>({zones}));
        root.populate(nullptr);
    }

    void writeConnectionOncePerAddress()
    {
        HRoot root;
        QList<HChassis *> chassis;
        const char *const addresses[][2] = {{"Room A", "192.168.10.20"},
                                            {"Room A & B", "192.168.10.20"},
                                            {"Annex", "192.168.10.21"},
                                            {"Unused", "192.168.10.22"}};
        for (const auto &entry : addresses) {
            chassis.append(makeChassis(entry[0], "TV-400"));
            chassis.last()->setIpAddress(entry[1]);
            root.addChild(chassis.last());
        }
        chassis.at(2)->setSerialPortNumber("2001");
        chassis.at(2)->setPlatform("Torva");

        // Controls mark the chassis they use.
        root.clearConnectionUse();
        for (int i = 0; i < 3; ++i)
            chassis.at(i)->nearestWithFlags(HNode::Chassis)->setFlag(HNode::ConnectionInUse, true);
        QByteArray bytes;
        {
            XmlWriter writer;
            QVERIFY(writer.setByteArray(&bytes));
            QStringList written;
            root.writeConnection(&writer, written);
            QCOMPARE(written, QStringList({"192.168.10.20", "192.168.10.21"}));
            writer.flush();
        }
        const QString text = QString::fromUtf8(bytes);
        QCOMPARE(text.count("<Connection "), 2);
        QVERIFY2(text.contains("<Connection name=\"Room A\">"), qPrintable(text));
        QVERIFY2(
            text.contains("<Connection name=\"Annex\">\n\t<Property name=\"attributes\">\n"
                          "\t\t<title>TV-400</title>\n\t\t<ipaddress>192.168.10.21</ipaddress>\n"
                          "\t\t<ipport></ipport>\n\t\t<monitorport></monitorport>\n"
                          "\t\t<serialport>2001</serialport>\n\t\t<platform>Torva</platform>\n"
                          "\t</Property>\n</Connection>\n"),
            qPrintable(text));
        root.clearConnectionUse();
        QVERIFY(!chassis.at(0)->hasFlag(HNode::ConnectionInUse));
        QStringList written;
        QVERIFY(!chassis.at(0)->writeConnection(nullptr, written));
        QVERIFY(written.isEmpty());
    }

    void treeQueriesAndMaintenance()
    {
        HRoot root;
        HChassis *main = makeChassis("Main", "TV-1600");
        HChassis *second = makeChassis("Second", "TV-400");
        HChassis *empty = makeChassis("Empty", "TV-400");
        for (HChassis *chassis : {main, second, empty})
            root.addChild(chassis);
        auto *speakers = makeNode<HGroup>("Speakers");
        speakers->setId("101");
        HNode *used = makeNode("Used");
        HNode *kept = makeNode("Kept");
        for (HNode *node : QList<HNode *>{used, kept, makeNode<HGroup>("Spare"), speakers,
                                          makeNode<HGroup>("Marked")}) {
            main->addChild(node);
            node->setFlag(HNode::NotReferenced,
                          node->label() == "Spare" || node->label() == "Marked");
        }
        HNode *gain = makeNode("Program");
        HNode *other = makeNode("Other");
        for (HNode *node : {gain, other}) {
            node->setNodeID(30);
            node->setFlag(HNode::NotReferenced, false);
            second->addChild(node);
        }
        QList<HNode *> chassis;
        QList<HNode *> blocks;
        root.collectByCategory("Chassis", chassis);
        root.collectByCategory("Blocks", blocks);
        QCOMPARE(chassis, QList<HNode *>({main, second, empty}));
        QCOMPARE(blocks, QList<HNode *>({used, kept, gain, other}));
        QCOMPARE(
            QList<HNode *>({root.findByCategoryProperty("Groups", "id", "101"),
                            root.findByCategoryProperty("Groups", "id", "102"),
                            root.findByCategoryProperty("Chassis", "label", "Second"),
                            root.findByProperty("label", "Program"), root.findByNodeId(30),
                            root.findByCategory("Chassis"), root.findByCategory("Blocks"),
                            root.childAt(1), root.childAt(3), root.childAt(-1), gain->childAt(0)}),
            QList<HNode *>({speakers, nullptr, second, gain, gain, main, nullptr, second, nullptr,
                            nullptr, nullptr}));
        QVERIFY(second->removeChild(other));
        QVERIFY(!second->removeChild(other));
        QCOMPARE(other->parent(), nullptr);
        delete other;

        // Sorting by order keeps the order of equals; nodes without one come first.
        QList<HNode *> nodes;
        for (int order : {2, -1, 0, 2, -1, 1}) {
            nodes.append(makeNode(QString::number(nodes.size())));
            nodes.last()->setOrder(order);
        }
        QList<HNode *> sorted = nodes;
        root.sortByOrder(sorted);
        QStringList labels;
        for (HNode *node : sorted)
            labels << node->label();
        QCOMPARE(labels, QStringList({"1", "4", "2", "5", "0", "3"}));
        qDeleteAll(nodes);
        HBlock loose;
        loose.setMarked(true);
        QVERIFY2(!loose.isMarked(), "only nodes in a tree take the mark");
        QVERIFY(!loose.pruneUnreferenced());
        QCOMPARE(loose.chassisLabel(), QStringLiteral("???"));
        QCOMPARE(loose.nearestWithFlags(HNode::Chassis), nullptr);

        // Pruning drops unreferenced groups and chassis left without children.
        main->childAt(4)->setMarked(true);
        QVERIFY(!root.pruneUnreferenced());
        QCOMPARE(nodeListing(&root),
                 QStringLiteral("Main\n  Used\n  Kept\n  Speakers\n  Marked\nSecond\n  Program\n"));
        // Loading another design keeps what panel controls use, with its chassis.
        used->setMarked(true);
        QVERIFY(!root.removeWhereMarked(false));
        QCOMPARE(nodeListing(&root), QStringLiteral("Main\n  Used\n  Marked\n"));
        QCOMPARE(used->chassisLabel(), QStringLiteral("Main"));
        QCOMPARE(used->nearestWithFlags(HNode::Chassis), static_cast<HNode *>(main));
        root.clearMarks();
        QVERIFY(!used->isMarked());
        root.removeWhereMarked(false);
        QCOMPARE(root.childCount(), 0);
    }

    void chassisProtocolAndConnection()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        HRoot root;
        HChassis *chassis = makeChassis("Rack", "TV-800");
        PProtocol *protocol = chassis->protocol();
        QVERIFY2(protocol, "every chassis has its protocol from the start");
        root.addChild(chassis);
        QCOMPARE(root.protocol(), nullptr);
        HNode *gain = makeNode("Program");
        chassis->addChild(gain);
        QVERIFY(gain->validate() && chassis->validate());
        QCOMPARE(chassis->protocol(), protocol);
        QCOMPARE(gain->protocol(), protocol);
        chassis->setIpAddress("127.0.0.1");
        chassis->setSerialPortNumber(QString::number(server.serverPort()));
        StatusReceiver receiver;
        root.connectStatus(&receiver);
        QVERIFY2(!chassis->interface(), "reporting status does not create an interface");
        IInterface *transport = chassis->createInterface();
        QVERIFY(transport);
        QCOMPARE(chassis->createInterface(), transport);
        QCOMPARE(chassis->interface(), transport);
        QCOMPARE(transport->owner(), chassis);
        QCOMPARE(transport->protocol(), protocol);
        QCOMPARE(protocol->interface(), transport);
        root.connectStatus(&receiver);
        QSignalSpy spy(&server, &QTcpServer::newConnection);
        chassis->startConnection();
        QVERIFY(spy.count() > 0 || spy.wait(10000));
        QTRY_VERIFY_WITH_TIMEOUT(receiver.statuses.contains(1u), 10000);
        QVERIFY(chassis->stopConnection());
        QTRY_VERIFY_WITH_TIMEOUT(receiver.statuses.last() == 0u, 10000);
    }
};

ZRB_MODEL_TEST_MAIN(tst_hardware)
#include "tst_hardware.moc"
