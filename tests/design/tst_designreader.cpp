#include "common/TestSupport.h"
#include "common/TestDir.h"

#include "DesignTestUtil.h"
#include "document/MProject.h"
#include "design/CParameter.h"
#include "design/HChassis.h"
#include "design/HDesignReport.h"
#include "design/HGroup.h"
#include "design/HNodeFactory.h"
#include "design/HRoot.h"
#include "design/XZDPHandler.h"
#include "document/CComposite.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardItemModel>
#include <QtTest>

using namespace DesignTestUtil;

namespace {

const QString ExamplesDir = QStringLiteral(ZRB_SOURCE_DIR "/examples/");

// The whole refusal for a file of version 4.1, as the user reads it.
const QString RefusalFor41 = QStringLiteral(
    "Zindral Remote builder cannot open this file. (version: 4.1)\n\nZindral Designer files saved "
    "in a version earlier than Zindral v4.2 can't be opened. If your file is from an earlier "
    "version, please visit https://www.orvane.example/downloads to download the latest version "
    "of Zindral Designer.\n\nOnce you have installed the latest version of Zindral Designer, open "
    "the design file and re-save it. This will update the file to the newest format which can "
    "then be opened in Zindral Remote builder. Also ensure that your system devices have been "
    "updated to the latest firmware (System->Update Firmware). ");

QString prop(const QString &name, const QString &value)
{
    return QStringLiteral("<Property name=\"%1\" value=\"%2\"/>").arg(name, value);
}

// A node element of a design file: className gets the designer's prefix.
QString node(const QString &className, const QStringList &properties,
             const QString &cardType = QString())
{
    const QString card = cardType.isNull() ? "" : " cardType=\"" + cardType + "\"";
    return QStringLiteral(
               "<Node className=\"Orvane.Foundry.Nodes.%1\"%2 typeNumber=\"%3\">%4</Node>\n")
        .arg(className, card, cardType.isNull() ? "0" : "2", properties.join(""));
}

QString gainNode(const QString &label, const QString &title = QStringLiteral("Gain"))
{
    return node("Gain", {prop("title", title), prop("label", label)});
}

QString cardNode(const QString &className, const QString &cardType, const QString &label)
{
    return node(className, {prop("title", className), prop("label", label)}, cardType);
}

QString chassis(const QString &label, const QString &title, bool main,
                const QString &deviceType = QStringLiteral("Torva800"),
                const QString &address = QStringLiteral("192.168.1.10"))
{
    return node("Torva",
                {prop("title", title), prop("label", label), prop("deviceType", deviceType),
                 prop("isMainTorva", main ? "True" : "False"), prop("ipAddress", address)});
}

QString group(const QString &id, const QString &label, const QString &type)
{
    return QStringLiteral("<Group id=\"%1\">%2</Group>\n")
        .arg(id, prop("title", "Group") + prop("label", label) + prop("groupType", type));
}

QString parameterSet(const QString &id, const QString &label, const QString &index)
{
    return QStringLiteral("<ParameterSet id=\"%1\">%2</ParameterSet>\n")
        .arg(id, prop("title", "Param. Set") + prop("label", label) + prop("index", index));
}

// A whole project file of the given version (none: no version attribute).
QString design(const QString &version, const QString &nodes, const QString &groups = QString(),
               const QString &sets = QString(), const QString &assignments = QString(),
               const QString &info = QString())
{
    QString text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project";
    if (!version.isNull())
        text += QStringLiteral(" version=\"%1\"").arg(version);
    text += ">\n";
    if (!info.isEmpty())
        text += "<ProjectInfo>" + info + "</ProjectInfo>\n";
    return text + "<Design>\n<Nodes>\n" + nodes + "</Nodes>\n<Groups>\n" + groups +
           "</Groups>\n<ParameterSets>\n" + sets + "</ParameterSets>\n<Assignments>\n" +
           assignments + "</Assignments>\n</Design>\n</Project>\n";
}

} // namespace

class tst_designreader : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pDir = new TestDir;
        QVERIFY(m_pDir->isValid());
        m_pRoot = new HRoot;
        m_pProject = new MProject;
    }

    void cleanup()
    {
        delete m_pProject;
        delete m_pRoot;
        delete m_pDir;
    }

    void versions_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("no version") << QString() << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("4.1") << "4.1" << false;
        QTest::newRow("4.19") << "4.19" << true;
        QTest::newRow("4.10") << "4.10" << true;
        QTest::newRow("4.2.1") << "4.2.1" << true;
        QTest::newRow("4.1.9") << "4.1.9" << false;
        QTest::newRow("10.0") << "10.0" << true;
        QTest::newRow("4.2 with text") << "4.2beta" << false;
        QTest::newRow("4.2") << "4.2" << true;
        QTest::newRow("4.3") << "4.3" << true;
        QTest::newRow("5") << "5" << true;
        QTest::newRow("3.9") << "3.9" << false;
        QTest::newRow("text") << "four" << false;
    }

    void versions()
    {
        QFETCH(QString, version);
        QFETCH(bool, accepted);
        QString error;
        const bool ok = loadText(
            design(version, chassis("Rack", "TV-800", true) + gainNode("Program")), &error);
        QCOMPARE(ok, accepted);
        // A reader never shows anything itself.
        if (accepted) {
            QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Rack\n  Program\n"));
            QVERIFY(error.isEmpty());
            return;
        }
        // The refusal reaches the caller whole, ready to be shown.
        QVERIFY2(error.startsWith("Zindral Remote builder cannot open this file. (version: " +
                                  version + ")\n\n"),
                 qPrintable(error));
        QCOMPARE(error, XZDPHandler::versionMessage(version));
        if (version == QLatin1String("4.1"))
            QCOMPARE(error, RefusalFor41);
        QCOMPARE(m_pRoot->childCount(), 0);
    }

    void smallDesigns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("nodes");
        const QString rack = chassis("Rack", "TV-800", true);
        const QString main = chassis("Main", "TV-800", true);
        const QString speakers = group("1", "Speakers", "Level");
        const QString evening = parameterSet("7", "Evening", "1");
        const QString bothUsed =
            "<Assignment><Group id=\"1\"/><ParameterSet id=\"7\"/></Assignment>";
        const QString gainHead = "<Node className=\"Orvane.Foundry.Nodes.Gain\" typeNumber=\"0\">" +
                                 prop("title", "Gain");
        QTest::newRow("card with the designer's prefix under its chassis")
            << design("4.3", rack + cardNode("Input", "AIN-4", "Mics")) << "Rack\n  Mics\n";
        QTest::newRow("nodes before any chassis are dropped")
            << design("4.3", gainNode("Early") + cardNode("Input", "AIN-4", "Early card") + rack +
                                 gainNode("Late"))
            << "Rack\n  Late\n";
        QTest::newRow("second chassis takes the cards after it")
            << design("4.3",
                      chassis("Main", "TV-1600", true) + cardNode("Input", "AIN-8", "Main in") +
                          chassis("Annex", "TV-400 (Annex)", false, "Torva400", "10.0.0.2") +
                          cardNode("Output", "DOUT-8", "Annex out") + gainNode("Annex gain"),
                      group("1", "Speakers", "Mute"), QString(),
                      "<Assignment><Group id=\"1\"/></Assignment>")
            << "Main\n  Main in\n  Speakers\nAnnex\n  Annex out\n  Annex gain\n";
        QTest::newRow("two chassis marked main: groups go to the last")
            << design("4.3",
                      chassis("First", "TV-800", true) + chassis("Second", "TV-800", true) +
                          chassis("Third", "TV-800", false),
                      speakers, evening, bothUsed)
            << "Second\n  Speakers\n  Evening\n";
        QTest::newRow("groups without a main chassis are dropped")
            << design("4.3", chassis("Rack", "TV-800", false) + gainNode("Program"), speakers,
                      evening, bothUsed)
            << "Rack\n  Program\n";
        QTest::newRow("unreferenced groups and sets are pruned")
            << design("4.3", main,
                      group("1", "Used", "Level + Mute") + group("2", "Spare", "Mute") +
                          group("3", "Selector", "Selector"),
                      parameterSet("7", "Evening", "1") + parameterSet("8", "Draft", "2"),
                      "<Assignment><Group id=\"1\"/></Assignment>"
                      "<Assignment><Group id=\"3\"/></Assignment>"
                      "<Assignment><ParameterSet id=\"7\"/><ParameterSet id=\"9\"/></Assignment>"
                      "<Assignment><Group id=\"99\"><Assign targetID=\"1\"/></Group></Assignment>")
            << "Main\n  Used\n  Selector\n  Evening\n";
        QTest::newRow("chassis left empty is pruned")
            << design("4.3", main + gainNode("Program") +
                                 chassis("Spare", "TV-400", false, "Torva400", "10.0.0.3"))
            << "Main\n  Program\n";
        QTest::newRow("rejected chassis leaves its cards to the one before")
            << design("4.3", main + chassis("Odd", "TV-9999", false, "Torva9999", "10.0.0.4") +
                                 gainNode("Program"))
            << "Main\n  Program\n";
        QTest::newRow("unknown cards and block kinds")
            << design("4.3", main + cardNode("Input", "AIN-16", "Odd card") +
                                 gainNode("Gain 2", "Gain 2") + gainNode("Tone", "ToneEQ") +
                                 node("Matrix", {prop("title", "Matrix"), prop("label", "Mx")}) +
                                 node("GPI", {prop("title", "GPI"), prop("label", "Door")}))
            << "Main\n  Odd card\n  Tone\n";
        QTest::newRow("amplifier platform")
            << design("4.3",
                      main + chassis("Amp", "RX-640 (Ceiling)", false, "RallenRX640", "10.0.0.5") +
                          cardNode("Output", "AMP-OUT", "Zones") +
                          cardNode("Output", "AOUT-4", "Not an amp card"))
            << "Amp\n  Zones\n  Not an amp card\n";
        QTest::newRow("link card")
            << design("4.3",
                      main + node("TorvaLinkTx", {prop("label", "Link"), prop("label1", "Ch 1")}))
            << "Main\n  Link\n";
        QTest::newRow("nodes and properties outside their places")
            << design("4.3", main + gainNode("Program") + "<Extra>" + gainNode("Nested elsewhere") +
                                 "</Extra>" + prop("label", "Stray"))
            << "Main\n  Program\n";
        QTest::newRow("a node inside a node replaces it")
            << design("4.3", main + gainHead + prop("label", "Outer") + "<Nodes>" +
                                 gainNode("Inner") + "</Nodes></Node>")
            << "Main\n  Inner\n";
        // An assignment inside a node section keeps building that node, which is
        // finished when the assignment ends; later properties are not read.
        QTest::newRow("an assignment inside a node takes it over")
            << design("4.3", main + "</Nodes><Groups>" + group("5", "Speakers", "Mute") +
                                 "</Groups><Nodes>" + gainHead + prop("label", "Program") +
                                 "<Assignment><Group id=\"5\"/></Assignment>" +
                                 prop("label", "Too late") + "</Node>")
            << "Main\n  Speakers\n  Program\n";
        // Real files nest a handful of levels; a few more wrappers are still read.
        QTest::newRow("a few wrapper elements")
            << "<?xml version=\"1.0\"?><Project version=\"4.3\">" + QString("<Wrap>").repeated(8) +
                   "<Nodes>" + main + gainNode("Program") + "</Nodes>" +
                   QString("</Wrap>").repeated(8) + "</Project>"
            << "Main\n  Program\n";
    }

    void smallDesigns()
    {
        QFETCH(QString, text);
        QFETCH(QString, nodes);
        QString error;
        QVERIFY2(loadText(text, &error), qPrintable(error));
        m_pRoot->pruneUnreferenced();
        QCOMPARE(nodeListing(m_pRoot), nodes);
    }

    void rowsOfCrowdedDesigns_data()
    {
        // Parent rows are found by hash now; these designs, with many nodes on
        // one parent and many rows of the same text, must give the rows the
        // search of the whole model gave: same order, same nesting.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("rows");
        const auto numbered = [](const QString &pattern, int count) {
            QStringList labels;
            for (int i = 1; i <= count; ++i)
                labels << pattern.arg(i);
            return labels;
        };
        const QString main = chassis("Rack", "TV-800", true);
        const QString emptyGroups = "Groups\nParameterSets\n";
        const QString emptyChassis = "  Analog I/O\n  Digital I/O\n  Blocks\n";

        QString gains;
        for (const QString &label : numbered("Gain %1", 40))
            gains += gainNode(label);
        QTest::newRow("forty blocks on one chassis")
            << design("4.3", main + gains)
            << "Rack\n  Analog I/O\n  Digital I/O\n  Blocks\n" +
                   levelMuteRows(numbered("Gain %1", 40)) + emptyGroups;

        QString racks;
        for (int i = 1; i <= 3; ++i)
            racks += chassis("Rack", "TV-800", i == 1, "Torva800", QString("10.0.0.%1").arg(i)) +
                     cardNode("Input", "MIC-4", "Mics") + gainNode("Level") +
                     cardNode("Output", "DOUT-8", "Feed");
        const QString rackRows = "Rack\n  Analog I/O\n" + levelMuteRows({"Mics"}) +
                                 "  Digital I/O\n" + levelMuteRows({"Feed"}) + "  Blocks\n" +
                                 levelMuteRows({"Level"});
        QTest::newRow("three chassis of the same name keep their own cards")
            << design("4.3", racks) << rackRows.repeated(3) + emptyGroups;

        QTest::newRow("a chassis named like a category row takes its cards itself")
            << design("4.3", chassis("Analog I/O", "TV-800", true) +
                                 cardNode("Input", "AIN-4", "Mics") + gainNode("Gain"))
            << "Analog I/O\n" + emptyChassis + levelMuteRows({"Gain"}) +
                   levelMuteRows({"Mics"}, 2) + emptyGroups;

        QString zones;
        QString sets;
        QString assignments = "<Assignment>";
        for (int i = 1; i <= 12; ++i) {
            zones += group(QString::number(i), "Zone", "Mute");
            sets += parameterSet(QString::number(100 + i), i % 2 ? "Scene" : "Other", "1");
            assignments +=
                QString("<Group id=\"%1\"/><ParameterSet id=\"%2\"/>").arg(i).arg(100 + i);
        }
        // A second group of an id already read is not the one assigned.
        zones += group("1", "Same id", "Mute");
        assignments += "</Assignment>";
        QString zoneRows;
        QString setRows = "  ParameterList #control\n";
        for (int i = 1; i <= 12; ++i) {
            zoneRows += "  Zone\n    Mute #control\n";
            setRows += QString(i % 2 ? "  Scene #control\n" : "  Other #control\n");
        }
        QTest::newRow("groups and sets of the same names")
            << design("4.3", main, zones, sets, assignments)
            << "Rack\n" + emptyChassis + "Groups\n" + zoneRows + "ParameterSets\n" + setRows;

        // With two rows of the text "Groups" there is no one row for groups.
        QTest::newRow("a block named like the groups row")
            << design("4.3", main + gainNode("Groups"), group("1", "Zone", "Mute"), QString(),
                      "<Assignment><Group id=\"1\"/></Assignment>")
            << "Rack\n  Analog I/O\n  Digital I/O\n  Blocks\n" + levelMuteRows({"Groups"}) +
                   emptyGroups;
    }

    void rowsOfCrowdedDesigns()
    {
        QFETCH(QString, text);
        QFETCH(QString, rows);
        QString error;
        QVERIFY2(loadText(text, &error), qPrintable(error));
        m_pRoot->pruneUnreferenced();
        QStandardItemModel model;
        m_pRoot->populate(&model);
        QCOMPARE(rowListing(model, true), rows);
    }

    void deviceNodeChangesNothing()
    {
        QVERIFY(loadText(design(
            "4.3", chassis("Main", "TV-800", true) + gainNode("Program") +
                       node("DeviceNode", {prop("title", "Gain"), prop("label", "Hijacked"),
                                           prop("ipAddress", "10.9.9.9"), prop("index", "7")}))));
        QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Main\n  Program\n"));
        auto *main = dynamic_cast<HChassis *>(m_pRoot->childAt(0));
        QVERIFY(main);
        QCOMPARE(main->ipAddress(), QStringLiteral("192.168.1.10"));
        QCOMPARE(main->childAt(0)->index(), 0);
        QCOMPARE(main->childAt(0)->title(), QStringLiteral("Gain"));
    }

    void selectorGroupKeepsFirstTarget()
    {
        // Only a selector group takes the names of its target's inputs.
        QVERIFY(loadText(
            design("4.3", chassis("Main", "TV-800", true),
                   group("4", "Source", "Selector") + group("5", "Level", "Level"), QString(),
                   "<Assignment><Group id=\"4\">"
                   "<Assign targetID=\"31\" targetProp=\"name1\" targetValue=\"Laptop\"/>"
                   "<Assign targetID=\"40\" targetProp=\"name1\" targetValue=\"Elsewhere\"/>"
                   "<Assign targetID=\"31\" targetProp=\"index\" targetValue=\"2\"/>"
                   "<Assign targetID=\"31\" targetProp=\"name2\" targetValue=\"Wireless\"/>"
                   "</Group></Assignment><Assignment><Group id=\"5\">"
                   "<Assign targetID=\"31\" targetProp=\"name1\" targetValue=\"Laptop\"/>"
                   "</Group></Assignment>")));
        auto *selector =
            dynamic_cast<HGroup *>(m_pRoot->findByCategoryProperty("Groups", "id", "4"));
        auto *level = dynamic_cast<HGroup *>(m_pRoot->findByCategoryProperty("Groups", "id", "5"));
        QVERIFY(selector && level);
        QCOMPARE(selector->targetId(), 31);
        QCOMPARE(selector->selectorNames(), QStringList({"Laptop", "Wireless"}));
        QCOMPARE(selector->typenum(), QStringLiteral("3"));
        QVERIFY(!selector->hasFlag(HNode::NotReferenced));
        QCOMPARE(level->targetId(), 0);
        QVERIFY(level->selectorNames().isEmpty());
    }

    void projectInformation()
    {
        const QString text =
            design("4.3", chassis("Main", "TV-800", true), QString(), QString(), QString(),
                   "<Facility name=\"Harbourside\"/>"
                   "<BusinessManeger name=\"Marta\" email=\"m@example.org\" tel=\"1\"/>"
                   "<Customer name=\"Events AB\"/>"
                   "<Comments comment1=\"one\" comment6=\"six\"/>"
                   "<Project version=\"4.3\"/>");
        m_pProject->setValue("Customer", "address", "Old address");
        QVERIFY(loadText(text));
        QCOMPARE(m_pProject->facilityName(), QStringLiteral("Harbourside"));
        QCOMPARE(m_pProject->value("BusinessManeger", "email"), QStringLiteral("m@example.org"));
        QCOMPARE(m_pProject->value("Customer", "name"), QStringLiteral("Events AB"));
        QCOMPARE(m_pProject->value("Customer", "address"), QString());
        QCOMPARE(m_pProject->value("Comments", "comment6"), QStringLiteral("six"));
        QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Main\n"));

        // Without a project record the section is read and dropped.
        HRoot root;
        QVERIFY(XZDPHandler::load(writeFile("info.zdp", text.toUtf8()), &root, nullptr, nullptr));
        QCOMPARE(root.childCount(), 1);
    }

    void exampleDesign()
    {
        QString error;
        QVERIFY2(loadExample(&error), qPrintable(error));
        QCOMPARE(m_pProject->facilityName(), QStringLiteral("Harbourside Conference Centre"));
        QCOMPARE(m_pProject->value("Engineer", "name"), QStringLiteral("Jonas Aberg"));
        QString linkRows;
        for (int n = 1; n <= 8; ++n)
            linkRows += QStringLiteral("      Level %1 #control\n      Mute %1 #control\n").arg(n);
        QStandardItemModel model;
        m_pRoot->populate(&model);
        QCOMPARE(
            rowListing(model, true),
            "Room A\n  Analog I/O\n" +
                levelMuteRows({"Table Mics", "Laptop Inputs", "Room Speakers"}) +
                "  Digital I/O\n" + levelMuteRows({"Dante In", "Link Out"}) +
                "    Link to Annex\n" + linkRows + "  Blocks\n" + levelMuteRows({"Program Level"}) +
                "    Source Select\n      List #control\n    Room Tone #panel\n"
                "    Conference Phone #panel\n"
                "Annex\n  Analog I/O\n" +
                levelMuteRows({"Annex Inputs", "Annex Speakers"}) + "  Digital I/O\n" +
                levelMuteRows({"Recorder Feed"}) + "  Blocks\n" + levelMuteRows({"Annex Level"}) +
                "Ceiling Amp\n  Analog I/O\n" + levelMuteRows({"Ceiling Zones"}) +
                "  Digital I/O\nGroups\n" + levelMuteRows({"All Speakers"}, 2) +
                "  Microphones\n    Level #control\n"
                "  Privacy Mute\n    Mute #control\n  Annex Source\n    Selector #control\n"
                "ParameterSets\n  ParameterList #control\n  Presentation #control\n"
                "  Video Call #control\n");
        auto *main = dynamic_cast<HChassis *>(m_pRoot->childAt(0));
        QVERIFY(main && main->hasFlag(HNode::MainChassis));
        QVERIFY(!m_pRoot->childAt(1)->hasFlag(HNode::MainChassis) &&
                m_pRoot->childAt(2)->protocol());
        QCOMPARE(main->modelName() + ' ' + main->ipAddress(),
                 QStringLiteral("TV-1600 192.168.10.20"));
        // A link card talks through the protocol of its chassis.
        QCOMPARE(m_pRoot->findByProperty("label", "Link to Annex")->protocol(), main->protocol());
        HNode *selector = m_pRoot->findByProperty("label", "Source Select");
        QCOMPARE(selector->names() + ' ' + QString::number(selector->index()),
                 QStringLiteral("Laptop HDMI,Laptop Jack,Wireless Mic,Background Music, 2"));
    }

    void exampleReport()
    {
        // The text report is written from the JSON one: its lines show the rows'
        // texts, drag kinds, flags and icons and the nodes' fields.
        QVERIFY(loadExample());
        const QString text = HDesignReport::toText(m_pRoot);
        for (const char *line :
             {"Project tree:\n  Room A  [flags 49]\n    Analog I/O  [flags 49]\n",
              "\n        Level  [control, flags 1077, :/images/SliderIcon.png]\n",
              "\n      Room Tone  [panel, flags 2101, :/images/CompletePanel.png]\n",
              "\n  ParameterSets  [flags 49]\n    ParameterList  [control, flags 1077, "
              ":/images/DropListIcon.png]\n",
              "\nDesign nodes:\n  HChassis \"Room A\"  title=TV-1600 (Room A Rack) typenum=0 "
              "category=Chassis platform=Torva\n    HAudioIO \"Table Mics\"  title=Input typenum=2 "
              "category=Analog I/O platform=Torva\n",
              "\n    HGroup \"All Speakers\"  title=Group typenum=1 category=Groups "
              "platform=Zindral\n",
              "\n  HChassis \"Ceiling Amp\"  title=RX-640 (Ceiling Amp) typenum=0 category=Chassis "
              "platform=Rallen\n"})
            QVERIFY2(text.contains(QLatin1String(line)), qPrintable(line + ("\nnot in\n" + text)));
        const QJsonObject report = HDesignReport::toJson(m_pRoot);
        QCOMPARE(report.value("rows").toArray().count(), 5);
        QCOMPARE(report.value("nodes").toArray().count(), 3);
        QStringList classes;
        for (const QJsonValue &child : report["nodes"][0]["children"].toArray())
            classes << child["class"].toString();
        QCOMPARE(classes,
                 QStringList({"HAudioIO", "HAudioIO", "HAudioIO", "HAudioIO", "HAudioIO",
                              "HTorvaLink", "HBlock", "HBlock", "HBlock", "HBlock", "HGroup",
                              "HGroup", "HGroup", "HGroup", "HParameterSet", "HParameterSet"}));
        HNode *program = m_pRoot->findByProperty("label", "Program Level");
        QVERIFY(program && program->parameters().count() == 2);
        QVERIFY2(!program->parameters().first()->item(),
                 "no parameter points into the report's rows");
        HRoot empty;
        QCOMPARE(HDesignReport::toJson(&empty).value("rows").toArray().count(), 2);
        QCOMPARE(HDesignReport::toJson(&empty).value("nodes").toArray().count(), 0);
        QCOMPARE(HDesignReport::toJson(nullptr).value("rows").toArray().count(), 0);
    }

    void oldExampleRefused()
    {
        QString error;
        QVERIFY(!XZDPHandler::load(ExamplesDir + "old-version.zdp", m_pRoot, m_pProject, &error));
        QCOMPARE(error, RefusalFor41);
        QCOMPARE(m_pRoot->childCount(), 0);
        QCOMPARE(m_pProject->facilityName(), QStringLiteral("SITE NAME"));
    }

    void dropsReadTheTemplates_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *tag, QString label, QString parameter, QString expected) {
            QTest::newRow(tag) << label << parameter << expected;
        };
        // The attributes themselves are pinned with the templates; here what
        // the drop adds: the chosen control, its node's struct and label.
        row("gain level", "Program Level", "Level", "Slider;range;index1=1");
        row("gain mute", "Program Level", "Mute", "Button;list;index1=2");
        row("input level", "Table Mics", "Level", "Slider;range;index1=3");
        row("selector", "Source Select", "List", "DropList;range;maximum=8");
        row("link channel label", "Link to Annex", "Level 3",
            "Slider;range;struct=7;label=Presenter");
        row("link prefixed label", "Link to Annex", "Mute 1",
            "Button;list;index1=1;struct=7;label=TorvaLink-Ch 1");
        row("group mute", "All Speakers", "Mute", "Button;list;struct=6;set=U,M,T");
        row("group selector", "Annex Source", "Selector", "DropList;list;struct=1");
        row("parameter set", "Presentation", "Presentation", "TextLink;list;struct=4");
        row("amplifier", "Ceiling Zones", "Level", "Slider;range;maximum=0");
    }

    void dropsReadTheTemplates()
    {
        QFETCH(QString, label);
        QFETCH(QString, parameter);
        QFETCH(QString, expected);
        QVERIFY(loadExample());
        QStandardItemModel model;
        m_pRoot->populate(&model);
        HNode *node = m_pRoot->findByProperty(QStringLiteral("label"), label);
        QVERIFY(node);

        // The panel-file reader takes the one control of that name from the template.
        CComposite panel;
        panel.assignKind(QStringLiteral("Panel"));
        CControl *control = panel.loadNodeControl(m_pRoot, node, parameter, QPointF(40, 60));
        QVERIFY2(control, qPrintable(node->templatePath(parameter)));
        QCOMPARE(panel.childCount(), 1);
        QCOMPARE(control->name(), label);
        const CAttributes &attributes = control->attributes();
        const QMap<QString, QString> values = {
            {"index1", QString::number(attributes.index1())},
            {"maximum", QString::number(attributes.maximum())},
            {"struct", QString::number(attributes.structNumber())},
            {"set", attributes.set()},
            {"label", attributes.channelLabel()}};
        QStringList actual = {control->type(), attributes.kind()};
        for (const QString &part : expected.split(QLatin1Char(';')).mid(2)) {
            const QString key = part.section(QLatin1Char('='), 0, 0);
            actual << key + QLatin1Char('=') + values.value(key);
        }
        QCOMPARE(actual.join(QLatin1Char(';')), expected);
    }

    void wholePanelTemplates()
    {
        HRoot root;
        auto *rack = new HChassis;
        rack->setTitle(QStringLiteral("TV-800"));
        root.addChild(rack);
        for (const auto &block : {qMakePair(QStringLiteral("ToneEQ"), 8),
                                  qMakePair(QStringLiteral("EchoCancel"), 18)}) {
            HNode *node = HNodeFactory::create(block.first, QString());
            node->setTitle(block.first);
            node->setTypenum(QStringLiteral("0"));
            rack->addChild(node);
            CComposite panel;
            panel.assignKind(QStringLiteral("Panel"));
            QString error;
            CLoadContext context;
            context.hardware = &root;
            context.block = node;
            QVERIFY2(panel.loadFile(node->templatePath(QString()), context, &error),
                     qPrintable(error));
            QCOMPARE(panel.childCount(), block.second);
            QCOMPARE(panel.childAt(0)->name(), QStringLiteral("Bounds"));
        }
    }

    void refusedFiles_data()
    {
        // The file's bytes, the size it is stretched to (sparse; -1: no file at
        // all), the whole error (%1: the file's path) and the chassis attached
        // before the fault: they stay, the caller decides about them.
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("chassis");
        auto row = [](const char *tag, const QByteArray &bytes, const char *error,
                      const char *chassis = "",
                      qint64 size = 0) { QTest::newRow(tag) << bytes << size << error << chassis; };
        const QByteArray head = "<?xml version=\"1.0\"?><Project version=\"4.3\">";
        const QByteArray main = chassis("Main", "TV-800", true).toUtf8();
        row("missing file", "", "Cannot read file %1: No such file or directory", "", -1);
        row("not well-formed",
            head + "<Design><Nodes>" + main + gainNode("Program").toUtf8() +
                "<Node className=\"Orvane.Foundry.Nodes.Gain\">" + prop("label", "Half").toUtf8() +
                "</Nodes></Design></Project>",
            "line 3, column 89: tag mismatch", "Main");
        QFile example(ExamplesDir + "conference-room.zdp");
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QByteArray bytes = example.readAll();
        const int cut = bytes.indexOf("<Node className=\"Orvane.Foundry.Nodes.Pekko\"");
        QVERIFY(cut > 0);
        row("cut at 0", "", "line 1, column 1: unexpected end of file");
        row("cut at 10", bytes.left(10), "line 1, column 11: unexpected end of file");
        row("cut in the third chassis", bytes.left(cut + 30),
            "line 145, column 37: unexpected end of file", "Room A,Annex");
        row("cut near the end", bytes.left(bytes.size() - 20),
            "line 239, column 4: unexpected end of file", "Room A,Annex,Ceiling Amp");
        const int levels = 50000;
        row("deep nesting",
            head + QByteArray("<Nodes>").repeated(levels) +
                QByteArray("</Nodes>").repeated(levels) + "</Project>",
            "line 1, column 1836: The elements are nested too deeply.");
        const QByteArray gain = "<Project version=\"4.3\"><Nodes>" + main +
                                "<Node className=\"Orvane.Foundry.Nodes.Gain\" typeNumber=\"0\">" +
                                prop("title", "Gain").toUtf8() +
                                "<Property name=\"label\" value=\"";
        const QByteArray tail = "\"/></Node></Nodes></Project>";
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY a \"haha\">";
        for (char c = 'b'; c <= 'k'; ++c)
            laughs += QByteArray("<!ENTITY ") + c + " \"" +
                      (QByteArray("&") + char(c - 1) + ";").repeated(10) + "\">";
        row("expansion bomb", laughs + "]>" + gain + "&k;" + tail,
            "line 1, column 58: Entity declarations are not accepted.");
        row("external file entity",
            "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY x SYSTEM "
            "\"file:///etc/passwd\">]>" +
                gain + "&x;" + tail,
            "line 1, column 80: Entity declarations are not accepted.");
        row("parameter entity",
            "<?xml version=\"1.0\"?><!DOCTYPE Project [<!ENTITY % p \"<!ENTITY q 'x'>\"> %p;]>" +
                gain + "plain" + tail,
            "line 1, column 71: Entity declarations are not accepted.");
        // The size is refused before a byte of it is read.
        row("oversized", design("4.3", QString::fromUtf8(main)).toUtf8(),
            "The file %1 is too large to be a design file.", "", XZDPHandler::MaxFileSize + 1);
    }

    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, error);
        QFETCH(QString, chassis);
        const QString path = m_pDir->filePath(QStringLiteral("design.zdp"));
        if (size >= 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), qint64(bytes.size()));
            QVERIFY(size == 0 || file.resize(size));
        }
        QString reason;
        QVERIFY(!XZDPHandler::load(path, m_pRoot, m_pProject, &reason));
        QCOMPARE(reason, error.contains(QLatin1String("%1")) ? error.arg(path) : error);
        QStringList labels;
        for (int i = 0; i < m_pRoot->childCount(); ++i)
            labels << m_pRoot->childAt(i)->label();
        QCOMPARE(labels.join(QLatin1Char(',')), chassis);
    }

    void largeFile()
    {
        // Several megabytes of real structure and one very long value: read as a
        // stream, kept only where it names something the tree holds.
        QByteArray nodes = chassis("Main", "TV-800", true).toUtf8();
        const QByteArray filler =
            node("Matrix", {prop("title", "Matrix"), prop("label", "Routing")}).toUtf8();
        nodes += filler.repeated(40000);
        nodes += gainNode(QString(2 * 1024 * 1024, QLatin1Char('x'))).toUtf8();
        nodes += gainNode("Program").toUtf8();
        const QByteArray bytes = "<?xml version=\"1.0\"?><Project version=\"4.3\"><Nodes>" + nodes +
                                 "</Nodes></Project>";
        QString error;
        QVERIFY2(XZDPHandler::load(writeFile("large.zdp", bytes), m_pRoot, m_pProject, &error),
                 qPrintable(error));
        auto *main = dynamic_cast<HChassis *>(m_pRoot->childAt(0));
        QVERIFY(main);
        QCOMPARE(main->childCount(), 2);
        QCOMPARE(main->childAt(0)->label().size(), 2 * 1024 * 1024);
        QCOMPARE(main->childAt(1)->label(), QStringLiteral("Program"));
    }

private:
    bool loadText(const QString &text, QString *errorText = nullptr)
    {
        const QString path = writeFile(QStringLiteral("design.zdp"), text.toUtf8());
        return XZDPHandler::load(path, m_pRoot, m_pProject, errorText);
    }

    bool loadExample(QString *errorText = nullptr)
    {
        const bool loaded =
            XZDPHandler::load(ExamplesDir + "conference-room.zdp", m_pRoot, m_pProject, errorText);
        m_pRoot->pruneUnreferenced();
        return loaded;
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_pDir->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return path;
    }

    TestDir *m_pDir = nullptr;
    HRoot *m_pRoot = nullptr;
    MProject *m_pProject = nullptr;
};

ZRB_MODEL_TEST_MAIN(tst_designreader)
#include "tst_designreader.moc"
