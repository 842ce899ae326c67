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
#include "design/HTorvaLink.h"
#include "design/XParameterHandler.h"
#include "device/IInterface.h"
#include "device/PProtocol.h"
#include "document/io/XmlWriter.h"

#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QXmlStreamAttributes>
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

// Attributes of a design Property element.
QXmlStreamAttributes attrs(const QString &name, const QString &value)
{
    QXmlStreamAttributes attributes;
    attributes.append(QStringLiteral("name"), name);
    attributes.append(QStringLiteral("value"), value);
    return attributes;
}

HChassis *makeChassis(const QString &label, const QString &title,
                      const QString &deviceType = QStringLiteral("Torva800"))
{
    auto *chassis = new HChassis;
    chassis->readProperty(attrs(QStringLiteral("label"), label));
    chassis->readProperty(attrs(QStringLiteral("title"), title));
    chassis->readProperty(attrs(QStringLiteral("deviceType"), deviceType));
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

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

QList<TemplateControl> readControls(const QString &path)
{
    QDomDocument document;
    document.setContent(resourceBytes(path));
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
    void dictionaries_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Torva chassis")
            << ":/data/Torva/Chassis.dict"
            << QByteArray("TV-400\r\nTV-800\r\nTV-1200\r\nTV-1600\r\nTV-2400\r\nTV-3200");
        QTest::newRow("Rallen chassis")
            << ":/data/Rallen/Chassis.dict" << QByteArray("RX-160\r\nRX-320\r\nRX-640\r\nRX-1280");
        QTest::newRow("Torva inputs") << ":/data/Torva/InputModules.dict"
                                      << QByteArray("AIN-4\tInput_2.xml\tAnalog I/O\r\n"
                                                    "AIN-4P\tInput_2.xml\tAnalog I/O\r\n"
                                                    "AIN-8\tInput_2.xml\tAnalog I/O\r\n"
                                                    "MIC-4\tInput_2.xml\tAnalog I/O\r\n"
                                                    "DIN-8\tIn_0.xml\tDigital I/O\r\n\r\n\r\n");
        QTest::newRow("Torva outputs")
            << ":/data/Torva/OutputModules.dict"
            << QByteArray("AOUT-4\tOutput_2.xml\tAnalog I/O\r\n"
                          "AOUT-4P\tOutput_2.xml\tAnalog I/O\r\n"
                          "AOUT-8\tOutput_2.xml\tAnalog I/O\r\n"
                          "LINE-4\tOutput_2.xml\tAnalog I/O\r\n"
                          "DOUT-8\tOut_0.xml\tDigital I/O\r\n"
                          "LINK-OUT\tOut_0.xml\tDigital I/O\r\n\r\n\r\n");
        QTest::newRow("Rallen inputs")
            << ":/data/Rallen/InputModules.dict" << QByteArray("\r\n\r\n");
        QTest::newRow("Rallen outputs") << ":/data/Rallen/OutputModules.dict"
                                        << QByteArray("AMP-OUT\tAmp_1.xml\tAnalog I/O\r\n\r\n\r\n");
    }

    void dictionaries()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        QCOMPARE(resourceBytes(path), bytes);
    }

    void shippedTemplates_data()
    {
        // The parameters a module template offers (text:type) and the attribute
        // records of some of its controls (name|kind key=value ...); the built-in
        // control templates hold one control of their type and no parameters.
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("parameters");
        QTest::addColumn<QStringList>("attributes");
        QTest::addColumn<QString>("controlType");
        auto module = [](const QString &name, const QStringList &parameters,
                         const QStringList &attributes) {
            QTest::newRow(qPrintable(name))
                << ":/data/" + name + ".xml" << parameters << attributes << QString();
        };
        const QStringList levelMute = {"Level:Slider", "Mute:Button"};
        const QString level = "Level|range index1=%1 minimum=-60 maximum=12 step=0.5 units=pct "
                              "format=nn.n transform=strV";
        const QString mute = "Mute|list index1=%1 set=F,O,T format=s transform=chrL";
        module("Torva/Gain_0", levelMute, {level.arg(1), mute.arg(2)});
        module("Torva/Input_2", levelMute, {level.arg(3), mute.arg(4)});
        module("Torva/In_0", levelMute, {level.arg(3), mute.arg(4)});
        module("Torva/Output_2", levelMute, {level.arg(1), mute.arg(2)});
        module("Torva/Out_0", levelMute, {level.arg(1), mute.arg(2)});
        module("Rallen/Amp_1", levelMute,
               {"Level|range index1=1 minimum=-60 maximum=0 step=0.5 units=0 format=nn.n "
                "transform=strV",
                mute.arg(2)});
        module("Rallen/Analog_1", {"Mute:Button"}, {mute.arg(2)});
        for (int i = 0; i <= 6; ++i)
            module(QStringLiteral("Torva/Selector_%1").arg(i), {"List:DropList"},
                   {QStringLiteral("List|range index1=1 minimum=1 maximum=%1 step=1 format=nn "
                                   "transform=bin8")
                        .arg(i == 1   ? 4
                             : i == 2 ? 8
                                      : 16)});
        QStringList tone = {"Title|list enableEdit=0"};
        const QStringList bands = {"Low", "Mid", "High"};
        for (int i = 0; i < 3; ++i)
            tone << bands.at(i) + QStringLiteral("|range index1=%1 enableEdit=0 minimum=-15 "
                                                 "maximum=15 step=0.1 units=dB format=nn.n "
                                                 "transform=strV")
                                      .arg(2 * i + 1)
                 << "Bypass " + bands.at(i) +
                        QStringLiteral("|list index1=%1 enableEdit=0 set=F,O,T format=s "
                                       "transform=chrL")
                            .arg(2 * i + 2);
        module("Torva/ToneEQ_0", {}, tone);
        module("Torva/EchoCancel_0", {}, {"Dialer|range index2=1 struct=8 transform=text"});
        QStringList link;
        QStringList linkAttributes;
        for (int n = 1; n <= 8; ++n) {
            link << QStringLiteral("Level %1:Slider").arg(n)
                 << QStringLiteral("Mute %1:Button").arg(n);
            linkAttributes << QStringLiteral(
                                  "Level %1|range index1=%1 index2=1 struct=7 minimum=-60 "
                                  "maximum=12 step=0.5 units=pct format=nn.n "
                                  "transform=strV channelLabel=?")
                                  .arg(n)
                           << QStringLiteral("Mute %1|list index1=%1 index2=2 struct=7 set=F,O,T "
                                             "format=s transform=chrL channelLabel=?")
                                  .arg(n);
        }
        module("Torva/TorvaLink_0", link, linkAttributes);
        const QString groupLevel = "Level|range struct=5 minimum=-60 maximum=12 step=0.5 units=pct "
                                   "format=nn.n transform=grpV";
        const QString groupMute = "Mute|list struct=6 set=U,M,T format=s transform=chrL";
        module("Zindral/Group_0", {"Level:Slider"}, {groupLevel});
        module("Zindral/Group_1", levelMute, {groupLevel, groupMute});
        module("Zindral/Group_2", {"Mute:Button"}, {groupMute});
        module("Zindral/Group_3", {"Selector:DropList"},
               {"Selector|list index1=1 struct=1 format=nn transform=bin8"});
        module("Zindral/ParamSet_0", {}, {"Set|list struct=4 format=nn transform=bin8"});
        module("Zindral/ParamList_0", {}, {"Select|list struct=4 format=nn transform=bin8"});
        for (const char *type : {"Label", "Image", "Frame", "Region"})
            QTest::newRow(type) << QStringLiteral(":/data/Graphics/%1.xml").arg(type)
                                << QStringList() << QStringList() << QString::fromLatin1(type);
        QTest::newRow("Link") << ":/data/Zindral/Link.xml" << QStringList() << QStringList()
                              << "PanelLink";
    }

    void shippedTemplates()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, parameters);
        QFETCH(QStringList, attributes);
        QFETCH(QString, controlType);
        const QByteArray bytes = resourceBytes(path);
        // Module templates are written in the designer's own encoding.
        if (controlType.isEmpty())
            QVERIFY2(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>"),
                     qPrintable(path + ": " + QString::fromLatin1(bytes.left(60))));
        QDomDocument document;
        QVERIFY(document.setContent(bytes));
        const QDomElement root = document.documentElement();
        QCOMPARE(root.tagName(), QStringLiteral("ZDX"));
        QVERIFY(!root.firstChildElement(QStringLiteral("Parameters")).isNull());
        QVERIFY(!root.firstChildElement(QStringLiteral("Controls")).isNull());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QList<CParameter *> list;
        XParameterHandler handler(&list);
        QVERIFY2(handler.parse(&file), qPrintable(path + ": " + handler.errorText()));
        QStringList read;
        for (CParameter *parameter : list)
            read << parameter->text() + QLatin1Char(':') + parameter->type();
        qDeleteAll(list);
        QCOMPARE(read, parameters);
        const QList<TemplateControl> controls = readControls(path);
        QVERIFY2(!controls.isEmpty(), qPrintable(path));
        QMultiMap<QString, TemplateControl> byName;
        for (const TemplateControl &control : controls)
            byName.insert(control.name, control);
        // Dropping a parameter takes the control of the same name.
        for (const QString &parameter : qAsConst(parameters)) {
            const QString name = parameter.section(QLatin1Char(':'), 0, 0);
            QVERIFY2(byName.count(name) == 1, qPrintable(path + ": no single control " + name));
        }
        for (const QString &entry : qAsConst(attributes)) {
            const TemplateControl control = byName.value(entry.section(QLatin1Char('|'), 0, 0));
            const QString expected = entry.section(QLatin1Char('|'), 1);
            QStringList actual = {control.kind};
            for (const QString &part : expected.split(QLatin1Char(' ')).mid(1)) {
                const QString key = part.section(QLatin1Char('='), 0, 0);
                actual << key + QLatin1Char('=') + control.attributes.value(key);
            }
            QCOMPARE(actual.join(QLatin1Char(' ')), expected);
        }
        if (!controlType.isEmpty()) {
            QCOMPARE(controls.count(), 1);
            QCOMPARE(controls.first().type, controlType);
            QCOMPARE(controls.first().items.count(), 1);
            const QMap<QString, QString> &item = controls.first().items.first().second;
            QVERIFY(item.value("width").toDouble() > 0.0 && item.value("height").toDouble() > 0.0);
        }

        // Every item and attribute key is one the panel-file reader takes.
        for (const TemplateControl &control : controls) {
            const QString where = path + QLatin1Char(' ') + control.name;
            bool hasMainItem = false;
            QMap<QString, QString> slider;
            QMap<QString, QString> valueBox;
            for (const auto &item : control.items) {
                QVERIFY2(ItemNames.contains(item.first),
                         qPrintable(where + ": unknown item " + item.first));
                for (const QString &key : item.second.keys())
                    QVERIFY2(ItemKeys.contains(key), qPrintable(where + ": unknown key " + key));
                hasMainItem = hasMainItem || item.first == control.type.toLower();
                if (item.first == QLatin1String("slider"))
                    slider = item.second;
                if (item.first == QLatin1String("textedit"))
                    valueBox = item.second;
                // Fractions, where given, lie inside the frame.
                for (const char *key : {"xfract", "yfract", "widthfract", "heightfract"}) {
                    bool ok = true;
                    const double value = item.second.value(key, "0").toDouble(&ok);
                    QVERIFY2(ok && value >= 0.0 && value <= 1.0, qPrintable(where + ": " + key));
                }
            }
            QVERIFY2(hasMainItem, qPrintable(where + ": no item " + control.type.toLower()));
            for (const QString &key : control.attributes.keys())
                QVERIFY2(AttributeKeys.contains(key), qPrintable(where + ": attribute " + key));
            if (control.kind == QLatin1String("range")) {
                QCOMPARE(control.attributes.value("minLimit"), control.attributes.value("minimum"));
                QCOMPARE(control.attributes.value("maxLimit"), control.attributes.value("maximum"));
            }
            if (control.type == QLatin1String("Slider")) {
                // A fader's value box and slider drive each other.
                QVERIFY2(!slider.isEmpty() && !valueBox.isEmpty(), qPrintable(where));
                QCOMPARE(slider.value("link"), valueBox.value("id"));
                QCOMPARE(valueBox.value("link"), slider.value("id"));
                QVERIFY(slider.value("id").toUInt() > 0 && slider.value("id").toUInt() < 32768);
            }
        }
    }

    void echoKeypadLinksToDialer()
    {
        QString dialerId;
        QStringList commands;
        QList<QPair<QString, QString>> keys;
        bool bounds = false;
        for (const TemplateControl &control : readControls(":/data/Torva/EchoCancel_0.xml")) {
            for (const auto &item : control.items) {
                if (item.first == QLatin1String("dialer"))
                    dialerId = item.second.value("id");
                if (item.first == QLatin1String("cmdbutton")) {
                    commands << item.second.value("command");
                    keys.append({item.second.value("id"), item.second.value("link")});
                }
                bounds = bounds || item.first == QLatin1String("bounds");
            }
        }
        QVERIFY(bounds);
        // Links between controls of a panel use ids from 32769 on.
        QVERIFY2(dialerId.toUInt() >= 32769, qPrintable("dialer id " + dialerId));
        QCOMPARE(commands, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#",
                                        "Call", "End", "BackSpace", "Answer"}));
        QSet<QString> ids;
        for (const auto &key : keys) {
            QCOMPARE(key.second, dialerId);
            QVERIFY2(key.first.toUInt() >= 32769 && key.first != dialerId, qPrintable(key.first));
            ids.insert(key.first);
        }
        QCOMPARE(ids.count(), keys.count());
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

    void propertiesAreRead()
    {
        HBlock block;
        const QList<QPair<QString, QString>> properties = {
            {"title", "Selector"}, {"label", "Source"}, {"module", "3"},  {"channel", "x7"},
            {"index", "12"},       {"nodeID", "-4"},    {"name1", "Mic"}, {"nameB", "Line"},
            {"unknown", "9"},      {"names", ""}};
        for (const auto &p : properties)
            block.readProperty(attrs(p.first, p.second));
        QCOMPARE(QStringList({block.title(), block.label(), QString::number(block.module()),
                              QString::number(block.channel()), QString::number(block.index()),
                              QString::number(block.nodeID()), block.names()})
                     .join(QLatin1Char('|')),
                 QStringLiteral("Selector|Source|3|0|12|-4|Mic,Line,,"));
        QCOMPARE(block.property("label") + '|' + block.property("category") + '|' +
                     block.property("module"),
                 QStringLiteral("Source|Blocks|"));
        HGroup group;
        group.readProperty(attrs("groupType", "Mute"));
        group.readProperty(attrs("name1", "ignored"));
        QCOMPARE(group.groupType() + '|' + group.names(), QStringLiteral("Mute|"));

        HChassis chassis;
        QCOMPARE(chassis.platform() + ' ' + chassis.serialPortNumber(),
                 QStringLiteral("Torva 10055"));
        QVERIFY(chassis.hasFlag(HNode::Chassis) && !chassis.hasFlag(HNode::MainChassis));
        const QList<QPair<QString, QString>> chassisProperties = {
            {"title", "TV-800 (Rack)"},    {"label", "Rack"},        {"ipAddress", "10.0.0.5"},
            {"ipPort", "10055"},           {"monitorPort", "10057"}, {"serialPortNumber", "2001"},
            {"deviceType", "RallenRX640"}, {"isMainTorva", "true"}};
        for (const auto &p : chassisProperties)
            chassis.readProperty(attrs(p.first, p.second));
        auto fields = [&chassis] {
            return QStringList({chassis.title(), chassis.label(), chassis.ipAddress(),
                                chassis.ipPort(), chassis.monitorPort(), chassis.serialPortNumber(),
                                chassis.platform()})
                .join(QLatin1Char('|'));
        };
        QCOMPARE(fields(), QStringLiteral("TV-800 (Rack)|Rack|10.0.0.5|10055|10057|2001|Rallen"));
        QVERIFY2(!chassis.hasFlag(HNode::MainChassis), "only the exact text True makes it main");
        chassis.readProperty(attrs("isMainTorva", "True"));
        QVERIFY(chassis.hasFlag(HNode::MainChassis));
        chassis.readProperty(attrs("deviceType", "Tandra9"));
        QCOMPARE(chassis.platform(), QString());
        chassis.readProperty(attrs("deviceType", "Torva400"));
        QCOMPARE(chassis.platform(), QStringLiteral("Torva"));
        // A panel file's connection record gives the same fields back.
        const QList<QPair<QString, QString>> record = {
            {"title", "TV-400"},     {"ipaddress", "10.0.0.9"}, {"ipport", "1"},
            {"monitorport", "2"},    {"serialport", "3"},       {"platform", "Rallen"},
            {"ipAddress", "ignored"}};
        for (const auto &p : record)
            chassis.setConnectionValue(p.first, p.second);
        chassis.endConnectionValue("platform");
        QCOMPARE(fields(), QStringLiteral("TV-400|Rack|10.0.0.9|1|2|3|Rallen"));
        QVERIFY(!chassis.interface());
    }

    void linkCardLabels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("expected");
        const QString ch1 = QStringLiteral("Ch 1");
        QTest::newRow("label3 Ch 4") << "label3" << QStringLiteral("Ch 4") << 2 << "TorvaLink-Ch 4";
        QTest::newRow("label1 plain") << "label1" << QStringLiteral("Lobby") << 0 << "Lobby";
        QTest::newRow("label8 Ch 12 too long")
            << "label8" << QStringLiteral("Ch 12") << 7 << "Ch 12";
        QTest::newRow("label2 Ch 9") << "label2" << QStringLiteral("Ch 9") << 1 << "TorvaLink-Ch 9";
        for (const char *name : {"label9", "label0", "labelx", "label10"})
            QTest::newRow(qPrintable(QString::fromLatin1(name) + " is no channel"))
                << name << ch1 << -1 << "";
    }

    void linkCardLabels()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(int, channel);
        QFETCH(QString, expected);
        HTorvaLink link;
        link.setLabel(QStringLiteral("Link"));
        link.readProperty(attrs(name, value));
        for (int i = -1; i <= 8; ++i)
            QCOMPARE(link.channelLabel(i), i == channel ? expected : QString());
        // The card's own label is not a channel label.
        QCOMPARE(link.label(), QStringLiteral("Link"));
        link.readProperty(attrs("label", "Annex"));
        QCOMPARE(link.label(), QStringLiteral("Annex"));
        QCOMPARE(link.category(), QStringLiteral("Digital I/O"));
    }

    void factoryAndValidation_data()
    {
        // The node the factory makes for a type name (card or link: the module
        // it keeps) and, given a title and a device or group type, what
        // validate() says and the type number it leaves.
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("passes");
        QTest::addColumn<QString>("typenum");
        auto row = [](const char *tag, QString typeName, QString kind, QString title = "",
                      QString detail = "", bool passes = true, QString typenum = "0") {
            QTest::newRow(tag) << typeName << kind << title << detail << passes << typenum;
        };
        row("Pekko", "Pekko", "chassis");
        row("input card", "Input", "card 1 AIN-4");
        row("output card", "Output", "card 2 AIN-4");
        row("link card", "TorvaLinkTx", "link 3 ");
        row("lower-case torva is a block", "torva", "block");
        for (const char *ignored :
             {"", "Tandra", "Serialin", "Serialout", "GPO", "GPI", "DeviceNode"})
            row(*ignored ? ignored : "empty", ignored, "none");
        row("Gain block", "Gain", "block", "Gain");
        row("Gain 2 block", "Gain", "block", "Gain 2", "", false);
        row("Selector block", "Gain", "block", "Selector");
        row("ToneEQ block", "Gain", "block", "ToneEQ");
        row("lower-case gain", "Gain", "block", "gain", "", false);
        row("echo canceller", "Gain", "block", "EchoCancel", "", false);
        row("Torva model", "Torva", "chassis", "TV-800", "Torva800");
        row("model and name", "Torva", "chassis", "TV-3200 (Main Rack)", "Torva3200");
        row("name without blank", "Torva", "chassis", "TV-800(Rack)", "Torva800", false);
        row("model prefix only", "Torva", "chassis", "TV-80 (x)", "Torva800", false);
        row("unknown model", "Torva", "chassis", "TV-9000", "Torva9000", false);
        row("Rallen model", "Torva", "chassis", "RX-1280 (Amp)", "RallenRX1280");
        row("Rallen model on Torva", "Torva", "chassis", "RX-160", "Torva", false);
        row("no deviceType keeps Torva", "Torva", "chassis", "TV-400");
        row("other platform", "Torva", "chassis", "TV-400", "Tandra", false);
        row("Level group", "Group", "group", "Group", "Level");
        row("Level + Mute group", "Group", "group", "Group", "Level + Mute", true, "1");
        row("Mute group", "Group", "group", "Group", "Mute", true, "2");
        row("Selector group", "Group", "group", "Group", "Selector", true, "3");
        row("other group", "Group", "group", "Group", "Matrix", true, "7");
        row("parameter set", "ParameterSet", "set", "Param. Set 2");
    }

    void factoryAndValidation()
    {
        QFETCH(QString, typeName);
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        QFETCH(bool, passes);
        QFETCH(QString, typenum);
        QScopedPointer<HNode> node(HNodeFactory::create(typeName, QStringLiteral("AIN-4")));
        QString made = QStringLiteral("none");
        if (auto *card = dynamic_cast<HAudioIO *>(node.data()))
            made = QStringLiteral("%1 %2 %3")
                       .arg(dynamic_cast<HTorvaLink *>(card) ? "link" : "card")
                       .arg(card->direction())
                       .arg(card->moduleName());
        else if (dynamic_cast<HChassis *>(node.data()))
            made = QStringLiteral("chassis");
        else if (dynamic_cast<HGroup *>(node.data()))
            made = QStringLiteral("group");
        else if (dynamic_cast<HParameterSet *>(node.data()))
            made = QStringLiteral("set");
        else if (dynamic_cast<HBlock *>(node.data()))
            made = QStringLiteral("block");
        QCOMPARE(made, kind);
        if (!node)
            return;
        // Fresh nodes are not referenced until the reader says so.
        QVERIFY(node->hasFlag(HNode::NotReferenced));
        QCOMPARE(node->order(), -1);
        QCOMPARE(int(node->itemFlags()), 49);
        if (title.isEmpty())
            return;
        const bool group = typeName == QLatin1String("Group");
        if (!detail.isEmpty())
            node->readProperty(attrs(group ? "groupType" : "deviceType", detail));
        node->setTitle(title);
        node->setTypenum(group ? QStringLiteral("7") : QStringLiteral("0"));
        QCOMPARE(node->validate(), passes);
        QCOMPARE(node->typenum(), typenum);
        if (typeName == QLatin1String("ParameterSet"))
            QCOMPARE(node->title(), QStringLiteral("ParamSet2"));
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

ZRB_TEST_MAIN(tst_hardware)
#include "tst_hardware.moc"
