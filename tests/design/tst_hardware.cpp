#include "common/TestSupport.h"

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

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QXmlStreamAttributes>
#include <QtTest>

using DesignTestUtil::attrs;

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
    chassis->readProperty(attrs(QStringLiteral("label"), label));
    chassis->readProperty(attrs(QStringLiteral("title"), title));
    chassis->readProperty(attrs(QStringLiteral("deviceType"), deviceType));
    return chassis;
}

HNode *makeBlock(const QString &label, const QString &title, const QString &typenum)
{
    auto *block = new HBlock;
    block->setLabel(label);
    block->setTitle(title);
    block->setTypenum(typenum);
    return block;
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
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// The keys each control item reads from a panel file.
QSet<QString> itemKeys(const QString &item)
{
    const QStringList position = {"x", "y", "width", "height"};
    const QStringList ids = {"id", "link"};
    const QStringList fractions = {"xfract", "yfract", "widthfract", "heightfract"};
    const QStringList button = {"action",  "title",    "ontext",    "offtext",
                                "onimage", "offimage", "imagesize", "hasBorder"};
    const QStringList label = {"text",  "align", "color",  "face",    "rotation",
                               "scale", "edit",  "select", "autosize"};
    QStringList keys = position;
    if (item == "label")
        keys << fractions << label;
    else if (item == "slider")
        keys << ids << fractions << "orient"
             << "knobcolor";
    else if (item == "textedit" || item == "dialer")
        keys << ids << fractions;
    else if (item == "button")
        keys << ids << button;
    else if (item == "cmdbutton")
        keys << ids << "command"
             << "title"
             << "onimage"
             << "imagesize"
             << "hasBorder";
    else if (item == "droplist")
        keys << ids << fractions << "msg"
             << "file"
             << "node"
             << "group"
             << "item"
             << "index"
             << "hasBorder"
             << "align";
    else if (item == "bounds" || item == "frame")
        keys << "shape"
             << "shadow"
             << "fieldcolor"
             << "bordercolor"
             << "borderwidth"
             << "hasBorder";
    else if (item == "textlink")
        keys << ids << button << "text"
             << "index"
             << "paramidx"
             << "scale"
             << "buttonmode";
    else if (item == "panellink")
        keys << fractions << label << "path"
             << "imagepath"
             << "imagevalid"
             << "buttonmode"
             << "hasBorder";
    else if (item == "image")
        keys << ids << "path"
             << "imagesize";
    else if (item == "region")
        keys << "path"
             << "fieldcolor"
             << "bordercolor"
             << "borderwidth"
             << "polygon";
    else
        return {};
    return QSet<QString>(keys.begin(), keys.end());
}

const QSet<QString> AttributeKeys = {
    "index1", "index2",    "link",  "set",    "format",   "units",    "minimum",    "maximum",
    "step",   "transform", "field", "struct", "minLimit", "maxLimit", "enableEdit", "channelLabel"};

struct TemplateControl
{
    QString name;
    QString type;
    QString kind;
    QMap<QString, QString> attributes;
    QList<QPair<QString, QMap<QString, QString>>> items;
};

QList<TemplateControl> readControls(const QDomDocument &document)
{
    QList<TemplateControl> controls;
    const QDomNodeList elements = document.elementsByTagName(QStringLiteral("Control"));
    for (int i = 0; i < elements.count(); ++i) {
        const QDomElement element = elements.at(i).toElement();
        TemplateControl control;
        control.name = element.attribute(QStringLiteral("name"));
        control.type = element.attribute(QStringLiteral("type"));
        for (QDomElement property = element.firstChildElement(QStringLiteral("Property"));
             !property.isNull();
             property = property.nextSiblingElement(QStringLiteral("Property"))) {
            const bool widget = property.attribute(QStringLiteral("name")) == "widget";
            for (QDomElement part = property.firstChildElement(); !part.isNull();
                 part = part.nextSiblingElement()) {
                QMap<QString, QString> values;
                for (QDomElement value = part.firstChildElement(); !value.isNull();
                     value = value.nextSiblingElement())
                    values.insert(value.tagName(), value.text());
                if (widget) {
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

const QStringList AllTemplates = {":/data/Torva/Gain_0.xml",       ":/data/Torva/Input_2.xml",
                                  ":/data/Torva/In_0.xml",         ":/data/Torva/Output_2.xml",
                                  ":/data/Torva/Out_0.xml",        ":/data/Torva/Selector_0.xml",
                                  ":/data/Torva/Selector_1.xml",   ":/data/Torva/Selector_2.xml",
                                  ":/data/Torva/Selector_3.xml",   ":/data/Torva/Selector_4.xml",
                                  ":/data/Torva/Selector_5.xml",   ":/data/Torva/Selector_6.xml",
                                  ":/data/Torva/ToneEQ_0.xml",     ":/data/Torva/EchoCancel_0.xml",
                                  ":/data/Torva/TorvaLink_0.xml",  ":/data/Rallen/Amp_1.xml",
                                  ":/data/Rallen/Analog_1.xml",    ":/data/Zindral/Group_0.xml",
                                  ":/data/Zindral/Group_1.xml",    ":/data/Zindral/Group_2.xml",
                                  ":/data/Zindral/Group_3.xml",    ":/data/Zindral/ParamSet_0.xml",
                                  ":/data/Zindral/ParamList_0.xml"};

const QStringList ControlTemplates = {":/data/Graphics/Label.xml", ":/data/Graphics/Image.xml",
                                      ":/data/Graphics/Frame.xml", ":/data/Graphics/Region.xml",
                                      ":/data/Zindral/Link.xml"};

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
    void dictionaries_data();
    void dictionaries();
    void templateParameters_data();
    void templateParameters();
    void templateAttributes_data();
    void templateAttributes();
    void templateWidgets_data();
    void templateWidgets();
    void echoKeypadLinksToDialer();
    void controlTemplates_data();
    void controlTemplates();
    void parameterWhitespaceAndIcons();
    void factory_data();
    void factory();
    void genericProperties();
    void chassisProperties();
    void linkCardLabels_data();
    void linkCardLabels();
    void selectorAssignments();
    void validation_data();
    void validation();
    void templatePaths();
    void loadParameterResults();
    void brokenTemplateLeavesNoParameters();
    void populateTree();
    void populateMovesGroupRowsToEnd();
    void parameterSetRowsAndDrops();
    void writeConnectionOncePerAddress();
    void treeMaintenance();
    void findAndCollect();
    void sortByOrderIsStable();
    void protocolsAndInterfaces();
    void connectionReachesPeer();
};

void tst_hardware::dictionaries_data()
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
    QTest::newRow("Torva outputs") << ":/data/Torva/OutputModules.dict"
                                   << QByteArray("AOUT-4\tOutput_2.xml\tAnalog I/O\r\n"
                                                 "AOUT-4P\tOutput_2.xml\tAnalog I/O\r\n"
                                                 "AOUT-8\tOutput_2.xml\tAnalog I/O\r\n"
                                                 "LINE-4\tOutput_2.xml\tAnalog I/O\r\n"
                                                 "DOUT-8\tOut_0.xml\tDigital I/O\r\n"
                                                 "LINK-OUT\tOut_0.xml\tDigital I/O\r\n\r\n\r\n");
    QTest::newRow("Rallen inputs") << ":/data/Rallen/InputModules.dict" << QByteArray("\r\n\r\n");
    QTest::newRow("Rallen outputs") << ":/data/Rallen/OutputModules.dict"
                                    << QByteArray("AMP-OUT\tAmp_1.xml\tAnalog I/O\r\n\r\n\r\n");
}

void tst_hardware::dictionaries()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    const QByteArray actual = resourceBytes(path);
    QVERIFY2(actual == bytes,
             qPrintable(QStringLiteral("%1 holds %2, expected %3")
                            .arg(path, QString::fromUtf8(actual.toPercentEncoding()),
                                 QString::fromUtf8(bytes.toPercentEncoding()))));
    // Every template a dictionary names is shipped.
    for (const QByteArray &line : actual.split('\n')) {
        const QList<QByteArray> columns = line.trimmed().split('\t');
        if (columns.count() < 2)
            continue;
        const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        QVERIFY2(QFile::exists(folder + QString::fromUtf8(columns.at(1))),
                 qPrintable(folder + QString::fromUtf8(columns.at(1))));
    }
}

void tst_hardware::templateParameters_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("parameters");
    const QStringList levelMute = {"Level:Slider", "Mute:Button"};
    QTest::newRow("Gain") << ":/data/Torva/Gain_0.xml" << levelMute;
    QTest::newRow("Input") << ":/data/Torva/Input_2.xml" << levelMute;
    QTest::newRow("In") << ":/data/Torva/In_0.xml" << levelMute;
    QTest::newRow("Output") << ":/data/Torva/Output_2.xml" << levelMute;
    QTest::newRow("Out") << ":/data/Torva/Out_0.xml" << levelMute;
    for (int i = 0; i <= 6; ++i) {
        const QString path = QStringLiteral(":/data/Torva/Selector_%1.xml").arg(i);
        QTest::newRow(qPrintable(path)) << path << QStringList{"List:DropList"};
    }
    QTest::newRow("ToneEQ") << ":/data/Torva/ToneEQ_0.xml" << QStringList();
    QTest::newRow("EchoCancel") << ":/data/Torva/EchoCancel_0.xml" << QStringList();
    QStringList link;
    for (int n = 1; n <= 8; ++n)
        link << QStringLiteral("Level %1:Slider").arg(n) << QStringLiteral("Mute %1:Button").arg(n);
    QTest::newRow("TorvaLink") << ":/data/Torva/TorvaLink_0.xml" << link;
    QTest::newRow("Amp") << ":/data/Rallen/Amp_1.xml" << levelMute;
    QTest::newRow("Analog") << ":/data/Rallen/Analog_1.xml" << QStringList{"Mute:Button"};
    QTest::newRow("Group level") << ":/data/Zindral/Group_0.xml" << QStringList{"Level:Slider"};
    QTest::newRow("Group level mute") << ":/data/Zindral/Group_1.xml" << levelMute;
    QTest::newRow("Group mute") << ":/data/Zindral/Group_2.xml" << QStringList{"Mute:Button"};
    QTest::newRow("Group selector")
        << ":/data/Zindral/Group_3.xml" << QStringList{"Selector:DropList"};
    QTest::newRow("ParamSet") << ":/data/Zindral/ParamSet_0.xml" << QStringList();
    QTest::newRow("ParamList") << ":/data/Zindral/ParamList_0.xml" << QStringList();
}

void tst_hardware::templateParameters()
{
    QFETCH(QString, path);
    QFETCH(QStringList, parameters);

    const QByteArray bytes = resourceBytes(path);
    QVERIFY2(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>"),
             qPrintable(path + ": " + QString::fromLatin1(bytes.left(60))));

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

    QDomDocument document;
    QVERIFY(document.setContent(bytes));
    const QDomElement root = document.documentElement();
    QCOMPARE(root.tagName(), QStringLiteral("ZDX"));
    QVERIFY(!root.firstChildElement(QStringLiteral("Parameters")).isNull());
    QVERIFY(!root.firstChildElement(QStringLiteral("Controls")).isNull());
    // Dropping a parameter takes the control of the same name.
    QStringList names;
    for (const TemplateControl &control : readControls(document))
        names << control.name;
    for (const QString &parameter : qAsConst(parameters)) {
        const QString name = parameter.section(QLatin1Char(':'), 0, 0);
        QVERIFY2(names.count(name) == 1, qPrintable(path + ": no single control " + name));
    }
}

void tst_hardware::templateAttributes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expected");

    const QString level = "range index1=%1 minimum=-60 maximum=12 step=0.5 units=pct format=nn.n "
                          "transform=strV";
    const QString mute = "list index1=%1 set=F,O,T format=s transform=chrL";
    QTest::newRow("Gain level") << ":/data/Torva/Gain_0.xml"
                                << "Level" << level.arg(1);
    QTest::newRow("Gain mute") << ":/data/Torva/Gain_0.xml"
                               << "Mute" << mute.arg(2);
    for (const QString file : {"Input_2", "In_0"}) {
        const QString path = ":/data/Torva/" + file + ".xml";
        QTest::newRow(qPrintable(file + " level")) << path << "Level" << level.arg(3);
        QTest::newRow(qPrintable(file + " mute")) << path << "Mute" << mute.arg(4);
    }
    for (const QString file : {"Output_2", "Out_0"}) {
        const QString path = ":/data/Torva/" + file + ".xml";
        QTest::newRow(qPrintable(file + " level")) << path << "Level" << level.arg(1);
        QTest::newRow(qPrintable(file + " mute")) << path << "Mute" << mute.arg(2);
    }
    for (int i = 0; i <= 6; ++i) {
        const int maximum = i == 1 ? 4 : i == 2 ? 8 : 16;
        QTest::newRow(qPrintable(QStringLiteral("Selector %1").arg(i)))
            << QStringLiteral(":/data/Torva/Selector_%1.xml").arg(i) << "List"
            << QStringLiteral("range index1=1 minimum=1 maximum=%1 step=1 format=nn transform=bin8")
                   .arg(maximum);
    }
    const QString tone = ":/data/Torva/ToneEQ_0.xml";
    const QString band = "range index1=%1 enableEdit=0 minimum=-15 maximum=15 step=0.1 units=dB "
                         "format=nn.n transform=strV";
    const QString bypass = "list index1=%1 enableEdit=0 set=F,O,T format=s transform=chrL";
    QTest::newRow("Tone low") << tone << "Low" << band.arg(1);
    QTest::newRow("Tone mid") << tone << "Mid" << band.arg(3);
    QTest::newRow("Tone high") << tone << "High" << band.arg(5);
    QTest::newRow("Tone bypass low") << tone << "Bypass Low" << bypass.arg(2);
    QTest::newRow("Tone bypass mid") << tone << "Bypass Mid" << bypass.arg(4);
    QTest::newRow("Tone bypass high") << tone << "Bypass High" << bypass.arg(6);
    QTest::newRow("Tone title") << tone << "Title"
                                << "list enableEdit=0";
    QTest::newRow("Echo dialer") << ":/data/Torva/EchoCancel_0.xml"
                                 << "Dialer"
                                 << "range index2=1 struct=8 transform=text";
    for (int n : {1, 5, 8}) {
        QTest::newRow(qPrintable(QStringLiteral("Link level %1").arg(n)))
            << ":/data/Torva/TorvaLink_0.xml" << QStringLiteral("Level %1").arg(n)
            << QStringLiteral("range index1=%1 index2=1 struct=7 minimum=-60 maximum=12 step=0.5 "
                              "units=pct format=nn.n transform=strV channelLabel=?")
                   .arg(n);
        QTest::newRow(qPrintable(QStringLiteral("Link mute %1").arg(n)))
            << ":/data/Torva/TorvaLink_0.xml" << QStringLiteral("Mute %1").arg(n)
            << QStringLiteral("list index1=%1 index2=2 struct=7 set=F,O,T format=s "
                              "transform=chrL channelLabel=?")
                   .arg(n);
    }
    QTest::newRow("Amp level") << ":/data/Rallen/Amp_1.xml"
                               << "Level"
                               << "range index1=1 minimum=-60 maximum=0 step=0.5 units=0 "
                                  "format=nn.n transform=strV";
    QTest::newRow("Amp mute") << ":/data/Rallen/Amp_1.xml"
                              << "Mute" << mute.arg(2);
    QTest::newRow("Analog mute") << ":/data/Rallen/Analog_1.xml"
                                 << "Mute" << mute.arg(2);
    const QString groupLevel = "range struct=5 minimum=-60 maximum=12 step=0.5 units=pct "
                               "format=nn.n transform=grpV";
    const QString groupMute = "list struct=6 set=U,M,T format=s transform=chrL";
    QTest::newRow("Group 0 level") << ":/data/Zindral/Group_0.xml"
                                   << "Level" << groupLevel;
    QTest::newRow("Group 1 level") << ":/data/Zindral/Group_1.xml"
                                   << "Level" << groupLevel;
    QTest::newRow("Group 1 mute") << ":/data/Zindral/Group_1.xml"
                                  << "Mute" << groupMute;
    QTest::newRow("Group 2 mute") << ":/data/Zindral/Group_2.xml"
                                  << "Mute" << groupMute;
    QTest::newRow("Group 3 selector") << ":/data/Zindral/Group_3.xml"
                                      << "Selector"
                                      << "list index1=1 struct=1 format=nn transform=bin8";
    QTest::newRow("Parameter set") << ":/data/Zindral/ParamSet_0.xml"
                                   << "Set"
                                   << "list struct=4 format=nn transform=bin8";
    QTest::newRow("Parameter list") << ":/data/Zindral/ParamList_0.xml"
                                    << "Select"
                                    << "list struct=4 format=nn transform=bin8";
}

void tst_hardware::templateAttributes()
{
    QFETCH(QString, path);
    QFETCH(QString, control);
    QFETCH(QString, expected);

    QDomDocument document;
    QVERIFY(document.setContent(resourceBytes(path)));
    const QList<TemplateControl> controls = readControls(document);
    const TemplateControl *found = nullptr;
    for (const TemplateControl &candidate : controls) {
        if (candidate.name == control)
            found = &candidate;
    }
    QVERIFY2(found, qPrintable(path + ": no control " + control));

    QStringList parts = expected.split(QLatin1Char(' '));
    QCOMPARE(found->kind, parts.takeFirst());
    for (const QString &part : qAsConst(parts)) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        const QString value = part.section(QLatin1Char('='), 1);
        QVERIFY2(found->attributes.value(key) == value,
                 qPrintable(QStringLiteral("%1 %2: %3 is '%4', expected '%5'")
                                .arg(path, control, key, found->attributes.value(key), value)));
    }
    if (found->kind == QLatin1String("range")) {
        QCOMPARE(found->attributes.value("minLimit"), found->attributes.value("minimum"));
        QCOMPARE(found->attributes.value("maxLimit"), found->attributes.value("maximum"));
    }
}

void tst_hardware::templateWidgets_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : AllTemplates + ControlTemplates)
        QTest::newRow(qPrintable(path)) << path;
}

void tst_hardware::templateWidgets()
{
    QFETCH(QString, path);
    QDomDocument document;
    QVERIFY(document.setContent(resourceBytes(path)));
    const QList<TemplateControl> controls = readControls(document);
    QVERIFY2(!controls.isEmpty(), qPrintable(path));
    for (const TemplateControl &control : controls) {
        const QString where = path + QLatin1Char(' ') + control.name;
        bool hasMainItem = false;
        QMap<QString, QString> slider;
        QMap<QString, QString> valueBox;
        for (const auto &item : control.items) {
            const QSet<QString> allowed = itemKeys(item.first);
            QVERIFY2(!allowed.isEmpty(), qPrintable(where + ": unknown item " + item.first));
            for (auto it = item.second.cbegin(); it != item.second.cend(); ++it)
                QVERIFY2(allowed.contains(it.key()),
                         qPrintable(where + ": " + item.first + " does not read " + it.key()));
            if (item.first == control.type.toLower())
                hasMainItem = true;
            if (item.first == QLatin1String("slider"))
                slider = item.second;
            if (item.first == QLatin1String("textedit"))
                valueBox = item.second;
            // Fractions, where given, lie inside the frame.
            for (const char *key : {"xfract", "yfract", "widthfract", "heightfract"}) {
                if (!item.second.contains(key))
                    continue;
                bool ok = false;
                const double value = item.second.value(key).toDouble(&ok);
                QVERIFY2(ok && value >= 0.0 && value <= 1.0, qPrintable(where + ": " + key));
            }
        }
        QVERIFY2(hasMainItem, qPrintable(where + ": no item " + control.type.toLower()));
        for (auto it = control.attributes.cbegin(); it != control.attributes.cend(); ++it)
            QVERIFY2(AttributeKeys.contains(it.key()),
                     qPrintable(where + ": attribute " + it.key()));
        if (control.type == QLatin1String("Slider")) {
            // A fader's caption names the object unless the template gives one,
            // and its value box and slider drive each other.
            QVERIFY2(!slider.isEmpty() && !valueBox.isEmpty(), qPrintable(where));
            QCOMPARE(slider.value("link"), valueBox.value("id"));
            QCOMPARE(valueBox.value("link"), slider.value("id"));
            QVERIFY(slider.value("id").toUInt() > 0 && slider.value("id").toUInt() < 32768);
        }
    }
}

void tst_hardware::echoKeypadLinksToDialer()
{
    QDomDocument document;
    QVERIFY(document.setContent(resourceBytes(":/data/Torva/EchoCancel_0.xml")));
    QString dialerId;
    QStringList commands;
    QList<QPair<QString, QString>> keys;
    bool bounds = false;
    for (const TemplateControl &control : readControls(document)) {
        for (const auto &item : control.items) {
            if (item.first == QLatin1String("dialer"))
                dialerId = item.second.value("id");
            if (item.first == QLatin1String("cmdbutton")) {
                commands << item.second.value("command");
                keys.append({item.second.value("id"), item.second.value("link")});
            }
            if (item.first == QLatin1String("bounds"))
                bounds = true;
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

void tst_hardware::controlTemplates_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("type");
    QTest::newRow("Label") << ":/data/Graphics/Label.xml"
                           << "Label";
    QTest::newRow("Image") << ":/data/Graphics/Image.xml"
                           << "Image";
    QTest::newRow("Frame") << ":/data/Graphics/Frame.xml"
                           << "Frame";
    QTest::newRow("Region") << ":/data/Graphics/Region.xml"
                            << "Region";
    QTest::newRow("Link") << ":/data/Zindral/Link.xml"
                          << "PanelLink";
}

void tst_hardware::controlTemplates()
{
    QFETCH(QString, path);
    QFETCH(QString, type);
    QDomDocument document;
    QVERIFY(document.setContent(resourceBytes(path)));
    QCOMPARE(document.documentElement().tagName(), QStringLiteral("ZDX"));
    const QList<TemplateControl> controls = readControls(document);
    QCOMPARE(controls.count(), 1);
    QCOMPARE(controls.first().type, type);
    QCOMPARE(controls.first().items.count(), 1);
    const auto &item = controls.first().items.first();
    QCOMPARE(item.first, type.toLower());
    QVERIFY(item.second.value("width").toDouble() > 0.0);
    QVERIFY(item.second.value("height").toDouble() > 0.0);
}

void tst_hardware::parameterWhitespaceAndIcons()
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

void tst_hardware::factory_data()
{
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Torva") << "Torva"
                           << "chassis";
    QTest::newRow("Pekko") << "Pekko"
                           << "chassis";
    QTest::newRow("Input") << "Input"
                           << "card 1";
    QTest::newRow("Output") << "Output"
                            << "card 2";
    QTest::newRow("link") << "TorvaLinkTx"
                          << "link";
    QTest::newRow("group") << "Group"
                           << "group";
    QTest::newRow("set") << "ParameterSet"
                         << "set";
    QTest::newRow("block") << "Gain"
                           << "block";
    QTest::newRow("lower-case torva is a block") << "torva"
                                                 << "block";
    QTest::newRow("empty") << ""
                           << "none";
    for (const char *name : {"Tandra", "Serialin", "Serialout", "GPO", "GPI", "DeviceNode"})
        QTest::newRow(name) << name << "none";
}

void tst_hardware::factory()
{
    QFETCH(QString, typeName);
    QFETCH(QString, expected);
    QScopedPointer<HNode> node(HNodeFactory::create(typeName, QStringLiteral("AIN-4")));
    QString kind = QStringLiteral("none");
    if (dynamic_cast<HChassis *>(node.data()))
        kind = QStringLiteral("chassis");
    else if (auto *link = dynamic_cast<HTorvaLink *>(node.data()))
        kind = link->direction() == 3 && link->moduleName().isEmpty() ? "link" : "bad link";
    else if (auto *card = dynamic_cast<HAudioIO *>(node.data()))
        kind = card->moduleName() == "AIN-4" ? QStringLiteral("card %1").arg(card->direction())
                                             : "bad card";
    else if (dynamic_cast<HGroup *>(node.data()))
        kind = QStringLiteral("group");
    else if (dynamic_cast<HParameterSet *>(node.data()))
        kind = QStringLiteral("set");
    else if (dynamic_cast<HBlock *>(node.data()))
        kind = QStringLiteral("block");
    QCOMPARE(kind, expected);
    if (node) {
        // Fresh nodes are not referenced until the reader says so.
        QVERIFY(node->hasFlag(HNode::NotReferenced));
        QCOMPARE(node->order(), -1);
        QCOMPARE(int(node->itemFlags()), 49);
    }
}

void tst_hardware::genericProperties()
{
    HBlock block;
    const QList<QPair<QString, QString>> properties = {
        {"title", "Selector"}, {"label", "Source"}, {"module", "3"},  {"channel", "x7"},
        {"index", "12"},       {"nodeID", "-4"},    {"name1", "Mic"}, {"nameB", "Line"},
        {"unknown", "9"},      {"names", ""}};
    for (const auto &p : properties)
        block.readProperty(attrs(p.first, p.second));
    QCOMPARE(block.title(), QStringLiteral("Selector"));
    QCOMPARE(block.label(), QStringLiteral("Source"));
    QCOMPARE(block.module(), 3);
    QCOMPARE(block.channel(), 0);
    QCOMPARE(block.index(), 12);
    QCOMPARE(block.nodeID(), -4);
    QCOMPARE(block.names(), QStringLiteral("Mic,Line,,"));
    QCOMPARE(block.property("label"), QStringLiteral("Source"));
    QCOMPARE(block.property("category"), QStringLiteral("Blocks"));
    QCOMPARE(block.property("module"), QString());

    HGroup group;
    group.readProperty(attrs("groupType", "Mute"));
    group.readProperty(attrs("label", "Privacy"));
    group.readProperty(attrs("name1", "ignored"));
    QCOMPARE(group.groupType(), QStringLiteral("Mute"));
    QCOMPARE(group.label(), QStringLiteral("Privacy"));
    QCOMPARE(group.names(), QString());
}

void tst_hardware::chassisProperties()
{
    HChassis chassis;
    QCOMPARE(chassis.platform(), QStringLiteral("Torva"));
    QCOMPARE(chassis.serialPortNumber(), QStringLiteral("10055"));
    QVERIFY(chassis.hasFlag(HNode::Chassis));
    QVERIFY(!chassis.hasFlag(HNode::MainChassis));
    const QList<QPair<QString, QString>> properties = {
        {"title", "TV-800 (Rack)"},    {"label", "Rack"},        {"ipAddress", "10.0.0.5"},
        {"ipPort", "10055"},           {"monitorPort", "10057"}, {"serialPortNumber", "2001"},
        {"deviceType", "RallenRX640"}, {"isMainTorva", "true"}};
    for (const auto &p : properties)
        chassis.readProperty(attrs(p.first, p.second));
    QCOMPARE(chassis.title(), QStringLiteral("TV-800 (Rack)"));
    QCOMPARE(chassis.label(), QStringLiteral("Rack"));
    QCOMPARE(chassis.ipAddress(), QStringLiteral("10.0.0.5"));
    QCOMPARE(chassis.ipPort(), QStringLiteral("10055"));
    QCOMPARE(chassis.monitorPort(), QStringLiteral("10057"));
    QCOMPARE(chassis.serialPortNumber(), QStringLiteral("2001"));
    QCOMPARE(chassis.platform(), QStringLiteral("Rallen"));
    QVERIFY2(!chassis.hasFlag(HNode::MainChassis), "only the exact text True makes it main");
    chassis.readProperty(attrs("isMainTorva", "True"));
    QVERIFY(chassis.hasFlag(HNode::MainChassis));
    chassis.readProperty(attrs("deviceType", "Tandra9"));
    QCOMPARE(chassis.platform(), QString());
    chassis.readProperty(attrs("deviceType", "Torva400"));
    QCOMPARE(chassis.platform(), QStringLiteral("Torva"));

    // A panel file's connection record gives the same fields back.
    chassis.setConnectionValue("title", "TV-400");
    chassis.setConnectionValue("ipaddress", "10.0.0.9");
    chassis.setConnectionValue("ipport", "1");
    chassis.setConnectionValue("monitorport", "2");
    chassis.setConnectionValue("serialport", "3");
    chassis.setConnectionValue("platform", "Rallen");
    chassis.setConnectionValue("ipAddress", "ignored");
    chassis.endConnectionValue("platform");
    QCOMPARE(chassis.title(), QStringLiteral("TV-400"));
    QCOMPARE(chassis.ipAddress(), QStringLiteral("10.0.0.9"));
    QCOMPARE(chassis.ipPort(), QStringLiteral("1"));
    QCOMPARE(chassis.monitorPort(), QStringLiteral("2"));
    QCOMPARE(chassis.serialPortNumber(), QStringLiteral("3"));
    QCOMPARE(chassis.platform(), QStringLiteral("Rallen"));
    QVERIFY(!chassis.interface());
}

void tst_hardware::linkCardLabels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("expected");
    QTest::newRow("label3 Ch 4") << "label3"
                                 << "Ch 4" << 2 << "TorvaLink-Ch 4";
    QTest::newRow("label1 plain") << "label1"
                                  << "Lobby" << 0 << "Lobby";
    QTest::newRow("label8 Ch 12 too long") << "label8"
                                           << "Ch 12" << 7 << "Ch 12";
    QTest::newRow("label2 xCh  four chars") << "label2"
                                            << "Ch 9" << 1 << "TorvaLink-Ch 9";
    QTest::newRow("label9 ignored") << "label9"
                                    << "Ch 1" << -1 << "";
    QTest::newRow("label0 ignored") << "label0"
                                    << "Ch 1" << -1 << "";
    QTest::newRow("labelx ignored") << "labelx"
                                    << "Ch 1" << -1 << "";
    QTest::newRow("label10 is not a channel") << "label10"
                                              << "Ch 1" << -1 << "";
}

void tst_hardware::linkCardLabels()
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

void tst_hardware::selectorAssignments()
{
    auto assign = [](const QString &target, const QString &prop, const QString &value) {
        QXmlStreamAttributes attributes;
        attributes.append("targetID", target);
        attributes.append("targetProp", prop);
        attributes.append("targetValue", value);
        return attributes;
    };
    HGroup selector;
    selector.setGroupType("Selector");
    selector.readAssignment(assign("31", "name1", "Laptop"));
    selector.readAssignment(assign("31", "index", "2"));
    selector.readAssignment(assign("40", "name1", "Other block"));
    selector.readAssignment(assign("31", "name2", "Wireless"));
    QCOMPARE(selector.targetId(), 31);
    QCOMPARE(selector.selectorNames(), QStringList({"Laptop", "Wireless"}));

    HGroup level;
    level.setGroupType("Level");
    level.readAssignment(assign("31", "name1", "Laptop"));
    QCOMPARE(level.targetId(), 0);
    QVERIFY(level.selectorNames().isEmpty());
}

void tst_hardware::validation_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("typenum");
    QTest::newRow("Gain block") << "block"
                                << "Gain"
                                << "" << true << "0";
    QTest::newRow("Gain 2 block") << "block"
                                  << "Gain 2"
                                  << "" << false << "0";
    QTest::newRow("Selector block") << "block"
                                    << "Selector"
                                    << "" << true << "0";
    QTest::newRow("ToneEQ block") << "block"
                                  << "ToneEQ"
                                  << "" << true << "0";
    QTest::newRow("lower-case gain") << "block"
                                     << "gain"
                                     << "" << false << "0";
    QTest::newRow("echo canceller") << "block"
                                    << "EchoCancel"
                                    << "" << false << "0";
    QTest::newRow("Torva model") << "chassis"
                                 << "TV-800"
                                 << "Torva800" << true << "0";
    QTest::newRow("model and name") << "chassis"
                                    << "TV-3200 (Main Rack)"
                                    << "Torva3200" << true << "0";
    QTest::newRow("name without blank") << "chassis"
                                        << "TV-800(Rack)"
                                        << "Torva800" << false << "0";
    QTest::newRow("model prefix only") << "chassis"
                                       << "TV-80 (x)"
                                       << "Torva800" << false << "0";
    QTest::newRow("unknown model") << "chassis"
                                   << "TV-9000"
                                   << "Torva9000" << false << "0";
    QTest::newRow("Rallen model") << "chassis"
                                  << "RX-1280 (Amp)"
                                  << "RallenRX1280" << true << "0";
    QTest::newRow("Rallen model on Torva") << "chassis"
                                           << "RX-160"
                                           << "Torva" << false << "0";
    QTest::newRow("no deviceType keeps Torva") << "chassis"
                                               << "TV-400"
                                               << "" << true << "0";
    QTest::newRow("other platform") << "chassis"
                                    << "TV-400"
                                    << "Tandra" << false << "0";
    QTest::newRow("Level group") << "group"
                                 << "Group"
                                 << "Level" << true << "0";
    QTest::newRow("Level + Mute group") << "group"
                                        << "Group"
                                        << "Level + Mute" << true << "1";
    QTest::newRow("Mute group") << "group"
                                << "Group"
                                << "Mute" << true << "2";
    QTest::newRow("Selector group") << "group"
                                    << "Group"
                                    << "Selector" << true << "3";
    QTest::newRow("other group") << "group"
                                 << "Group"
                                 << "Matrix" << true << "7";
    QTest::newRow("parameter set") << "set"
                                   << "Param. Set 2"
                                   << "" << true << "0";
}

void tst_hardware::validation()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, detail);
    QFETCH(bool, passes);
    QFETCH(QString, typenum);

    QScopedPointer<HNode> node;
    if (kind == "block") {
        node.reset(new HBlock);
    } else if (kind == "chassis") {
        node.reset(new HChassis);
        if (!detail.isEmpty())
            node->readProperty(attrs("deviceType", detail));
    } else if (kind == "group") {
        auto *group = new HGroup;
        group->setGroupType(detail);
        node.reset(group);
    } else {
        node.reset(new HParameterSet);
    }
    node->setTitle(title);
    node->setTypenum(kind == "group" ? QStringLiteral("7") : QStringLiteral("0"));
    QCOMPARE(node->validate(), passes);
    QCOMPARE(node->typenum(), typenum);
    if (kind == "set")
        QCOMPARE(node->title(), QStringLiteral("ParamSet2"));
}

void tst_hardware::templatePaths()
{
    HRoot root;
    HChassis *torva = makeChassis("Rack", "TV-800");
    HChassis *rallen = makeChassis("Amp", "RX-640", "RallenRX640");
    root.addChild(torva);
    root.addChild(rallen);
    HNode *gain = makeBlock("Program", "Gain", "0");
    torva->addChild(gain);
    QCOMPARE(gain->templatePath(QString()), QStringLiteral(":/data/Torva/Gain_0.xml"));
    HNode *selector = makeBlock("Source", "Selector", "2");
    torva->addChild(selector);
    QCOMPARE(selector->templatePath("List"), QStringLiteral(":/data/Torva/Selector_2.xml"));
    HNode *loose = makeBlock("Loose", "Gain", "0");
    QCOMPARE(loose->templatePath(QString()), QStringLiteral(":/data//Gain_0.xml"));
    QCOMPARE(loose->loadParameters(), 0);
    delete loose;

    HAudioIO *digital = makeCard("Dante", "DIN-8", HAudioIO::Input);
    torva->addChild(digital);
    QCOMPARE(digital->category(), QStringLiteral("Analog I/O"));
    QCOMPARE(digital->templatePath(QString()), QStringLiteral(":/data/Torva/In_0.xml"));
    QCOMPARE(digital->category(), QStringLiteral("Digital I/O"));
    HAudioIO *analog = makeCard("Mics", "MIC-4", HAudioIO::Input);
    torva->addChild(analog);
    QCOMPARE(analog->templatePath(QString()), QStringLiteral(":/data/Torva/Input_2.xml"));
    QCOMPARE(analog->category(), QStringLiteral("Analog I/O"));
    HAudioIO *linkOut = makeCard("Link out", "LINK-OUT", HAudioIO::Output);
    torva->addChild(linkOut);
    QCOMPARE(linkOut->templatePath(QString()), QStringLiteral(":/data/Torva/Out_0.xml"));
    QCOMPARE(linkOut->category(), QStringLiteral("Digital I/O"));
    // The module is looked up in the dictionary of the card's direction only.
    HAudioIO *wrongWay = makeCard("Wrong", "DIN-8", HAudioIO::Output);
    torva->addChild(wrongWay);
    QCOMPARE(wrongWay->templatePath(QString()), QString());
    HAudioIO *unknown = makeCard("Unknown", "AIN-16", HAudioIO::Input);
    torva->addChild(unknown);
    QCOMPARE(unknown->templatePath(QString()), QString());
    HAudioIO *blank = makeCard("Blank", "", HAudioIO::Input);
    torva->addChild(blank);
    QCOMPARE(blank->templatePath(QString()), QString());
    HAudioIO *amp = makeCard("Zones", "AMP-OUT", HAudioIO::Output);
    rallen->addChild(amp);
    QCOMPARE(amp->templatePath(QString()), QStringLiteral(":/data/Rallen/Amp_1.xml"));
    HAudioIO *ampInput = makeCard("In", "AIN-4", HAudioIO::Input);
    rallen->addChild(ampInput);
    QCOMPARE(ampInput->templatePath(QString()), QString());

    auto *link = new HTorvaLink;
    torva->addChild(link);
    QCOMPARE(link->templatePath(QString()), QStringLiteral(":/data/Torva/TorvaLink_0.xml"));

    auto *group = new HGroup;
    group->setTitle("Group");
    group->setGroupType("Level + Mute");
    QVERIFY(group->validate());
    torva->addChild(group);
    QCOMPARE(group->templatePath("Level"), QStringLiteral(":/data/Zindral/Group_1.xml"));
}

void tst_hardware::loadParameterResults()
{
    HRoot root;
    HChassis *torva = makeChassis("Rack", "TV-800");
    root.addChild(torva);
    HNode *gain = makeBlock("Program", "Gain", "0");
    HNode *tone = makeBlock("Tone", "ToneEQ", "0");
    HNode *missing = makeBlock("Missing", "Gain", "9");
    HAudioIO *unknown = makeCard("Unknown", "AIN-16", HAudioIO::Input);
    for (HNode *node : {gain, tone, missing, static_cast<HNode *>(unknown)})
        torva->addChild(node);
    QCOMPARE(gain->loadParameters(), 2);
    QCOMPARE(gain->parameters().count(), 2);
    QCOMPARE(tone->loadParameters(), 1);
    QVERIFY(tone->parameters().isEmpty());
    QCOMPARE(missing->loadParameters(), 0);
    QCOMPARE(unknown->loadParameters(), 0);
}

void tst_hardware::brokenTemplateLeavesNoParameters()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    dir.setAutoRemove(!QTest::currentTestFailed());
    const QString path = dir.filePath("broken.xml");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<ZDX><Parameters>"
               "<parameter><text>Level</text><type>Slider</type></parameter>"
               "<parameter><text>Mu");
    file.close();
    FileBlock block(path);
    QCOMPARE(block.loadParameters(), 1);
    QVERIFY(block.parameters().isEmpty());
}

void tst_hardware::populateTree()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    dir.setAutoRemove(!QTest::currentTestFailed());
    const QString labelTemplate = dir.filePath("label.xml");
    QFile file(labelTemplate);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<ZDX><Parameters><parameter><text>Caption</text><type>Label</type></parameter>"
               "</Parameters><Controls/></ZDX>");
    file.close();

    HRoot root;
    HChassis *torva = makeChassis("Rack", "TV-800");
    HChassis *rallen = makeChassis("Amp", "RX-640", "RallenRX640");
    root.addChild(torva);
    root.addChild(rallen);
    HAudioIO *mics = makeCard("Mics", "MIC-4", HAudioIO::Input);
    HAudioIO *dante = makeCard("Dante", "DIN-8", HAudioIO::Input);
    HAudioIO *unknown = makeCard("Unknown", "AIN-16", HAudioIO::Input);
    HNode *tone = makeBlock("Tone", "ToneEQ", "0");
    HNode *gain = makeBlock("Program", "Gain", "0");
    auto *caption = new FileBlock(labelTemplate);
    caption->setLabel("Caption block");
    for (HNode *node : {static_cast<HNode *>(mics), static_cast<HNode *>(dante),
                        static_cast<HNode *>(unknown), tone, gain, static_cast<HNode *>(caption)})
        torva->addChild(node);
    HAudioIO *zones = makeCard("Zones", "AMP-OUT", HAudioIO::Output);
    rallen->addChild(zones);
    HNode *ampGain = makeBlock("Amp gain", "Gain", "0");
    rallen->addChild(ampGain);

    QStandardItemModel model;
    root.populate(&model);
    QCOMPARE(DesignTestUtil::rowListing(model, true), QStringLiteral("Rack\n"
                                                                     "  Analog I/O\n"
                                                                     "    Mics\n"
                                                                     "      Level #control\n"
                                                                     "      Mute #control\n"
                                                                     "  Digital I/O\n"
                                                                     "    Dante\n"
                                                                     "      Level #control\n"
                                                                     "      Mute #control\n"
                                                                     "  Blocks\n"
                                                                     "    Tone #panel\n"
                                                                     "    Program\n"
                                                                     "      Level #control\n"
                                                                     "      Mute #control\n"
                                                                     "    Caption block\n"
                                                                     "      Caption #control\n"
                                                                     "Amp\n"
                                                                     "  Analog I/O\n"
                                                                     "    Zones\n"
                                                                     "      Level #control\n"
                                                                     "      Mute #control\n"
                                                                     "  Digital I/O\n"
                                                                     "Groups\n"
                                                                     "ParameterSets\n"));

    // Flags, icons and addresses of the rows.
    QStandardItem *rack = model.item(0);
    QCOMPARE(int(rack->flags()), 49);
    QCOMPARE(DesignTestUtil::rowNode(rack), static_cast<HNode *>(torva));
    QCOMPARE(DesignTestUtil::rowNode(rack->child(0)), static_cast<HNode *>(torva));
    QCOMPARE(DesignTestUtil::rowNode(model.item(2)), static_cast<HNode *>(&root));
    QCOMPARE(int(model.item(2)->flags()), 49);
    QStandardItem *toneRow = rack->child(2)->child(0);
    QCOMPARE(int(toneRow->flags()), 49 | 0x804);
    QCOMPARE(toneRow->data(HNode::IconPathRole).toString(),
             QStringLiteral(":/images/CompletePanel.png"));
    QCOMPARE(DesignTestUtil::rowNode(toneRow), tone);
    QStandardItem *levelRow = rack->child(0)->child(0)->child(0);
    QCOMPARE(int(levelRow->flags()), 49 | 0x404);
    QCOMPARE(levelRow->data(Qt::UserRole + 1).value<quint64>(), quint64(quintptr(mics)));
    QCOMPARE(levelRow->data(HNode::IconPathRole).toString(),
             QStringLiteral(":/images/SliderIcon.png"));
    QCOMPARE(mics->parameters().first()->item(), levelRow);
    QStandardItem *captionRow = rack->child(2)->child(2)->child(0);
    QVERIFY2(captionRow->icon().isNull() && !captionRow->data(HNode::IconPathRole).isValid(),
             "a Label parameter has no icon");

    // Shown marks follow what got rows (or at least a template).
    QVERIFY(torva->hasFlag(HNode::Shown));
    QVERIFY(mics->hasFlag(HNode::Shown));
    QVERIFY(!unknown->hasFlag(HNode::Shown));
    QVERIFY2(!ampGain->hasFlag(HNode::Shown), "amplifiers have no block templates");

    // A rebuild gives the same rows and does not pile up parameters.
    QStandardItemModel again;
    root.populate(&again);
    QCOMPARE(DesignTestUtil::rowListing(again), DesignTestUtil::rowListing(model));
    QCOMPARE(mics->parameters().count(), 2);

    // Nodes without a template are purged; the rest stays.
    QVERIFY(!root.purgeUnshown());
    QCOMPARE(torva->childCount(), 5);
    QVERIFY(!torva->children().contains(unknown));
    QCOMPARE(rallen->children(), QList<HNode *>({zones}));
    root.populate(nullptr);
}

void tst_hardware::populateMovesGroupRowsToEnd()
{
    HRoot empty;
    QStandardItemModel model;
    empty.populate(&model);
    QCOMPARE(DesignTestUtil::rowListing(model), QStringLiteral("Groups\nParameterSets\n"));

    HRoot root;
    HChassis *main = makeChassis("Main", "TV-1600");
    main->setFlag(HNode::MainChassis, true);
    root.addChild(main);
    root.addChild(makeChassis("Second", "TV-400"));
    auto *group = new HGroup;
    group->setLabel("Speakers");
    group->setTitle("Group");
    group->setGroupType("Mute");
    group->validate();
    main->addChild(group);
    auto *orphan = new HGroup;
    orphan->setTitle("Group");
    orphan->setLabel("Unknown type");
    main->addChild(orphan);
    QStandardItemModel rows;
    root.populate(&rows);
    QCOMPARE(DesignTestUtil::rowListing(rows, true),
             QStringLiteral("Main\n  Analog I/O\n  Digital I/O\n  Blocks\n"
                            "Second\n  Analog I/O\n  Digital I/O\n  Blocks\n"
                            "Groups\n  Speakers\n    Mute #control\n"
                            "ParameterSets\n"));
    QVERIFY(!orphan->hasFlag(HNode::Shown));
}

void tst_hardware::parameterSetRowsAndDrops()
{
    HRoot root;
    HChassis *main = makeChassis("Main", "TV-1600");
    root.addChild(main);
    QList<HParameterSet *> sets;
    for (const QString label : {"Presentation", "Video Call"}) {
        auto *set = new HParameterSet;
        set->setLabel(label);
        set->setTitle("Param. Set");
        QVERIFY(set->validate());
        main->addChild(set);
        sets.append(set);
    }
    QStandardItemModel model;
    root.populate(&model);
    QCOMPARE(DesignTestUtil::rowListing(model, true),
             QStringLiteral("Main\n  Analog I/O\n  Digital I/O\n  Blocks\nGroups\n"
                            "ParameterSets\n"
                            "  ParameterList #control\n"
                            "  Presentation #control\n"
                            "  Video Call #control\n"));
    QStandardItem *setsRow = model.item(2);
    QCOMPARE(setsRow->child(0)->data(HNode::IconPathRole).toString(),
             QStringLiteral(":/images/DropListIcon.png"));
    QCOMPARE(setsRow->child(1)->data(HNode::IconPathRole).toString(),
             QStringLiteral(":/images/ParameterSetIcon.png"));
    QCOMPARE(DesignTestUtil::rowNode(setsRow->child(0)), static_cast<HNode *>(sets.at(0)));
    QCOMPARE(DesignTestUtil::rowNode(setsRow->child(2)), static_cast<HNode *>(sets.at(1)));
    QCOMPARE(sets.at(0)->parameters().count(), 2);
    QCOMPARE(sets.at(1)->parameters().count(), 1);

    // The set's own row takes its template whole; the list row the list template.
    QCOMPARE(sets.at(0)->templatePath("Presentation"),
             QStringLiteral(":/data/Zindral/ParamSet_0.xml"));
    QCOMPARE(sets.at(0)->templatePath("ParameterList"),
             QStringLiteral(":/data/Zindral/ParamList_0.xml"));
    QCOMPARE(sets.at(1)->templatePath("ParameterList"), QString());
    QVERIFY(QFile::exists(sets.at(0)->templatePath("Presentation")));
    QString name = QStringLiteral("Presentation");
    sets.at(0)->clearText(name);
    QVERIFY(name.isEmpty());

    QVERIFY(sets.at(0)->confirmDrop("Presentation"));
    QVERIFY(sets.at(0)->confirmDrop("ParameterList"));
    QVERIFY(!sets.at(1)->confirmDrop("ParameterList"));
    QVERIFY(!sets.at(1)->confirmDrop("Presentation"));
    HParameterSet loose;
    loose.setLabel("Loose");
    QVERIFY(!loose.confirmDrop("ParameterList"));
    HBlock block;
    QVERIFY(block.confirmDrop("anything"));
}

void tst_hardware::writeConnectionOncePerAddress()
{
    HRoot root;
    HChassis *first = makeChassis("Room A", "TV-1600");
    HChassis *second = makeChassis("Room A & B", "TV-800");
    HChassis *third = makeChassis("Annex", "TV-400");
    HChassis *unused = makeChassis("Unused", "TV-400");
    first->setIpAddress("192.168.10.20");
    second->setIpAddress("192.168.10.20");
    third->setIpAddress("192.168.10.21");
    unused->setIpAddress("192.168.10.22");
    for (HChassis *chassis : {first, second, third, unused})
        root.addChild(chassis);
    third->setSerialPortNumber("2001");
    third->setPlatform("Torva");

    // Controls mark the chassis they use.
    root.clearConnectionUse();
    for (HChassis *chassis : {first, second, third})
        chassis->nearestWithFlags(HNode::Chassis)->setFlag(HNode::ConnectionInUse, true);

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
    QVERIFY2(!text.contains("Unused"), qPrintable(text));
    QVERIFY2(text.contains("<Connection name=\"Annex\">\n\t<Property name=\"attributes\">\n"
                           "\t\t<title>TV-400</title>\n\t\t<ipaddress>192.168.10.21</ipaddress>\n"
                           "\t\t<ipport></ipport>\n\t\t<monitorport></monitorport>\n"
                           "\t\t<serialport>2001</serialport>\n\t\t<platform>Torva</platform>\n"
                           "\t</Property>\n</Connection>\n"),
             qPrintable(text));

    root.clearConnectionUse();
    QVERIFY(!first->hasFlag(HNode::ConnectionInUse));
    QStringList written;
    QVERIFY(!first->writeConnection(nullptr, written));
    QVERIFY(written.isEmpty());
}

void tst_hardware::treeMaintenance()
{
    HRoot root;
    HChassis *main = makeChassis("Main", "TV-1600");
    HChassis *empty = makeChassis("Empty", "TV-400");
    root.addChild(main);
    root.addChild(empty);
    HNode *used = makeBlock("Used", "Gain", "0");
    HNode *kept = makeBlock("Kept", "Gain", "0");
    main->addChild(used);
    main->addChild(kept);
    used->setFlag(HNode::NotReferenced, false);
    auto *unreferenced = new HGroup;
    unreferenced->setLabel("Spare");
    auto *referenced = new HGroup;
    referenced->setLabel("Speakers");
    referenced->setFlag(HNode::NotReferenced, false);
    auto *marked = new HGroup;
    marked->setLabel("Marked");
    main->addChild(unreferenced);
    main->addChild(referenced);
    main->addChild(marked);
    marked->setMarked(true);
    kept->setFlag(HNode::NotReferenced, false);

    HBlock loose;
    loose.setMarked(true);
    QVERIFY2(!loose.isMarked(), "only nodes in a tree take the mark");
    QVERIFY(!loose.pruneUnreferenced());

    // Pruning drops unreferenced groups and chassis left without children.
    QVERIFY(!root.pruneUnreferenced());
    QCOMPARE(DesignTestUtil::nodeListing(&root),
             QStringLiteral("Main\n  Used\n  Kept\n  Speakers\n  Marked\n"));

    // Loading another design keeps what panel controls use, with its chassis.
    used->setMarked(true);
    QVERIFY(!root.removeWhereMarked(false));
    QCOMPARE(DesignTestUtil::nodeListing(&root), QStringLiteral("Main\n  Used\n  Marked\n"));
    QCOMPARE(used->chassisLabel(), QStringLiteral("Main"));
    QCOMPARE(used->nearestWithFlags(HNode::Chassis), static_cast<HNode *>(main));
    QCOMPARE(loose.chassisLabel(), QStringLiteral("???"));
    QCOMPARE(loose.nearestWithFlags(HNode::Chassis), nullptr);

    root.clearMarks();
    QVERIFY(!used->isMarked());
    root.removeWhereMarked(false);
    QCOMPARE(root.childCount(), 0);
}

void tst_hardware::findAndCollect()
{
    HRoot root;
    HChassis *main = makeChassis("Main", "TV-1600");
    HChassis *second = makeChassis("Second", "TV-400");
    root.addChild(main);
    root.addChild(second);
    auto *group = new HGroup;
    group->setId("101");
    group->setLabel("Speakers");
    main->addChild(group);
    HNode *gain = makeBlock("Program", "Gain", "0");
    gain->setNodeID(30);
    second->addChild(gain);
    HNode *other = makeBlock("Other", "Gain", "0");
    other->setNodeID(30);
    second->addChild(other);

    QCOMPARE(root.findByCategoryProperty("Groups", "id", "101"), static_cast<HNode *>(group));
    QCOMPARE(root.findByCategoryProperty("Groups", "id", "102"), nullptr);
    QCOMPARE(root.findByCategoryProperty("Chassis", "label", "Second"),
             static_cast<HNode *>(second));
    QCOMPARE(root.findByProperty("label", "Program"), gain);
    QCOMPARE(root.findByNodeId(30), gain);
    QCOMPARE(root.findByCategory("Chassis"), static_cast<HNode *>(main));
    QCOMPARE(root.findByCategory("Blocks"), nullptr);

    QList<HNode *> chassis;
    root.collectByCategory("Chassis", chassis);
    QCOMPARE(chassis, QList<HNode *>({main, second}));
    QList<HNode *> blocks;
    root.collectByCategory("Blocks", blocks);
    QCOMPARE(blocks, QList<HNode *>({gain, other}));

    QCOMPARE(root.childAt(1), static_cast<HNode *>(second));
    QCOMPARE(root.childAt(2), nullptr);
    QCOMPARE(root.childAt(-1), nullptr);
    QCOMPARE(gain->childAt(0), nullptr);
    QVERIFY(second->removeChild(other));
    QVERIFY(!second->removeChild(other));
    QCOMPARE(other->parent(), nullptr);
    delete other;
}

void tst_hardware::sortByOrderIsStable()
{
    HRoot root;
    QList<HNode *> nodes;
    const int orders[] = {2, -1, 0, 2, -1, 1};
    for (int i = 0; i < 6; ++i) {
        HNode *node = makeBlock(QString::number(i), "Gain", "0");
        node->setOrder(orders[i]);
        nodes.append(node);
    }
    QList<HNode *> sorted = nodes;
    root.sortByOrder(sorted);
    QStringList labels;
    for (HNode *node : sorted)
        labels << node->label();
    QCOMPARE(labels, QStringList({"1", "4", "2", "5", "0", "3"}));
    qDeleteAll(nodes);
}

void tst_hardware::protocolsAndInterfaces()
{
    HRoot root;
    HChassis *chassis = makeChassis("Rack", "TV-800");
    QVERIFY2(chassis->protocol(), "every chassis has its protocol from the start");
    root.addChild(chassis);
    QCOMPARE(root.protocol(), nullptr);
    QVERIFY2(chassis->protocol(), "joining the root keeps the chassis's protocol");
    HNode *gain = makeBlock("Program", "Gain", "0");
    chassis->addChild(gain);
    QCOMPARE(gain->protocol(), chassis->protocol());
    QVERIFY(gain->validate());
    QCOMPARE(gain->protocol(), chassis->protocol());
    QVERIFY(chassis->validate());
    QVERIFY(chassis->protocol());

    QVERIFY(!chassis->interface());
    chassis->setIpAddress("127.0.0.1");
    chassis->setSerialPortNumber("10099");
    IInterface *transport = chassis->createInterface();
    QVERIFY(transport);
    QCOMPARE(chassis->createInterface(), transport);
    QCOMPARE(chassis->interface(), transport);
    QCOMPARE(transport->owner(), chassis);
    QCOMPARE(transport->protocol(), chassis->protocol());
    QCOMPARE(chassis->protocol()->interface(), transport);
}

void tst_hardware::connectionReachesPeer()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    HRoot root;
    HChassis *chassis = makeChassis("Rack", "TV-800");
    root.addChild(chassis);
    chassis->setIpAddress("127.0.0.1");
    chassis->setSerialPortNumber(QString::number(server.serverPort()));
    StatusReceiver receiver;
    root.connectStatus(&receiver);
    QVERIFY2(!chassis->interface(), "reporting status does not create an interface");
    QVERIFY(chassis->createInterface());
    root.connectStatus(&receiver);
    QSignalSpy spy(&server, &QTcpServer::newConnection);
    chassis->startConnection();
    QVERIFY(spy.count() > 0 || spy.wait(5000));
    QTRY_VERIFY_WITH_TIMEOUT(receiver.statuses.contains(1u), 5000);
    QVERIFY(chassis->stopConnection());
    QTRY_VERIFY_WITH_TIMEOUT(receiver.statuses.last() == 0u, 5000);
}

ZRB_TEST_MAIN(tst_hardware)
#include "tst_hardware.moc"
