#include "common/TestSupport.h"

#include "DesignTestUtil.h"
#include "app/MProject.h"
#include "design/CParameter.h"
#include "common/RecordingMessageHandler.h"
#include "design/HAudioIO.h"
#include "design/HChassis.h"
#include "design/HDesignReport.h"
#include "design/HGroup.h"
#include "design/HNodeFactory.h"
#include "design/HRoot.h"
#include "design/HTorvaLink.h"
#include "design/XZDPHandler.h"
#include "document/CComposite.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardItemModel>
#include <QTemporaryDir>
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

QString levelMute(int indent)
{
    const QString pad(indent, QLatin1Char(' '));
    return pad + "Level #control\n" + pad + "Mute #control\n";
}

QString gainNode(const QString &label, const QString &title = QStringLiteral("Gain"),
                 const QString &typeNumber = QStringLiteral("0"))
{
    return node(QStringLiteral("Gain"), {prop("title", title), prop("label", label)}, QString(),
                typeNumber);
}

QString cardNode(const QString &className, const QString &cardType, const QString &label)
{
    return node(className, {prop("title", className), prop("label", label)}, cardType,
                QStringLiteral("2"));
}

QString emptyChassisRows(const QString &label)
{
    return label + "\n  Analog I/O\n  Digital I/O\n  Blocks\n";
}

} // namespace

class tst_designreader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void versions_data();
    void versions();
    void refusalMessageText();
    void smallDesigns_data();
    void smallDesigns();
    void deviceNodeChangesNothing();
    void assignmentInsideNodeTakesItOver();
    void selectorGroupKeepsFirstTarget();
    void projectInformation();
    void exampleDesign();
    void exampleReport();
    void oldExampleRefused();
    void dropsReadTheTemplates_data();
    void dropsReadTheTemplates();
    void wholePanelTemplates();
    void missingFile();
    void notWellFormedKeepsWhatWasRead();
    void truncatedFile();
    void deepNesting();
    void entityDeclarations_data();
    void entityDeclarations();
    void oversizedFile();
    void largeFile();

private:
    bool loadText(const QString &text, QString *errorText = nullptr);
    QString writeFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir *m_pDir = nullptr;
    HRoot *m_pRoot = nullptr;
    MProject *m_pProject = nullptr;
    RecordingMessageHandler *m_pMessages = nullptr;
};

void tst_designreader::init()
{
    m_pDir = new QTemporaryDir;
    QVERIFY(m_pDir->isValid());
    m_pRoot = new HRoot;
    m_pProject = new MProject;
    m_pMessages = new RecordingMessageHandler;
}

void tst_designreader::cleanup()
{
    m_pDir->setAutoRemove(!QTest::currentTestFailed());
    delete m_pMessages;
    delete m_pProject;
    delete m_pRoot;
    delete m_pDir;
}

QString tst_designreader::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_pDir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

bool tst_designreader::loadText(const QString &text, QString *errorText)
{
    const QString path = writeFile(QStringLiteral("design.zdp"), text.toUtf8());
    return XZDPHandler::load(path, m_pRoot, m_pProject, errorText);
}

void tst_designreader::versions_data()
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

void tst_designreader::versions()
{
    QFETCH(QString, version);
    QFETCH(bool, accepted);
    QString error;
    const bool ok =
        loadText(design(version, chassis("Rack", "TV-800", true) + gainNode("Program")), &error);
    QCOMPARE(ok, accepted);
    if (accepted) {
        QCOMPARE(m_pMessages->count(), 0);
        QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Rack\n  Program\n"));
        QVERIFY(error.isEmpty());
        return;
    }
    QCOMPARE(m_pMessages->count(), 1);
    const RecordingMessageHandler::Message message = m_pMessages->last();
    QCOMPARE(message.icon, QMessageBox::Warning);
    QCOMPARE(message.title, QStringLiteral("Open Zindral Designer File Error"));
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY2(message.text.startsWith(
                 "Zindral Remote builder cannot open this file. (version: " + version + ")\n\n"),
             qPrintable(message.text));
    QVERIFY2(!error.isEmpty(), "a refused file says why");
    QCOMPARE(m_pRoot->childCount(), 0);
}

void tst_designreader::refusalMessageText()
{
    QVERIFY(!loadText(design("4.1", chassis("Rack", "TV-800", true))));
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().text, RefusalFor41);
    QCOMPARE(XZDPHandler::versionMessage("4.1"), RefusalFor41);
}

void tst_designreader::smallDesigns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("nodes");
    QTest::addColumn<QString>("rows");

    QTest::newRow("card with the designer's prefix under its chassis")
        << design("4.3", chassis("Rack", "TV-800", true) + cardNode("Input", "AIN-4", "Mics"))
        << "Rack\n  Mics\n"
        << "Rack\n  Analog I/O\n    Mics\n" + levelMute(6) +
               "  Digital I/O\n  Blocks\n"
               "Groups\nParameterSets\n";

    QTest::newRow("nodes before any chassis are dropped")
        << design("4.3", gainNode("Early") + cardNode("Input", "AIN-4", "Early card") +
                             chassis("Rack", "TV-800", true) + gainNode("Late"))
        << "Rack\n  Late\n"
        << "Rack\n  Analog I/O\n  Digital I/O\n  Blocks\n    Late\n" + levelMute(6) +
               "Groups\nParameterSets\n";

    QTest::newRow("second chassis takes the cards after it")
        << design("4.3",
                  chassis("Main", "TV-1600", true) + cardNode("Input", "AIN-8", "Main in") +
                      chassis("Annex", "TV-400 (Annex)", false, "Torva400", "10.0.0.2") +
                      cardNode("Output", "DOUT-8", "Annex out") + gainNode("Annex gain"),
                  group("1", "Speakers", "Mute"), QString(),
                  "<Assignment><Group id=\"1\"/></Assignment>")
        << "Main\n  Main in\n  Speakers\nAnnex\n  Annex out\n  Annex gain\n"
        << "Main\n  Analog I/O\n    Main in\n" + levelMute(6) +
               "  Digital I/O\n  Blocks\nAnnex\n  Analog I/O\n  Digital I/O\n    Annex out\n" +
               levelMute(6) + "  Blocks\n    Annex gain\n" + levelMute(6) +
               "Groups\n  Speakers\n    Mute #control\nParameterSets\n";

    QTest::newRow("two chassis marked main: groups go to the last")
        << design("4.3",
                  chassis("First", "TV-800", true) + chassis("Second", "TV-800", true) +
                      chassis("Third", "TV-800", false),
                  group("1", "Speakers", "Level"), parameterSet("7", "Evening", "1"),
                  "<Assignment><Group id=\"1\"/><ParameterSet id=\"7\"/></Assignment>")
        << "Second\n  Speakers\n  Evening\n"
        << QString();

    QTest::newRow("groups without a main chassis are dropped")
        << design("4.3", chassis("Rack", "TV-800", false) + gainNode("Program"),
                  group("1", "Speakers", "Level"), parameterSet("7", "Evening", "1"),
                  "<Assignment><Group id=\"1\"/><ParameterSet id=\"7\"/></Assignment>")
        << "Rack\n  Program\n"
        << QString();

    QTest::newRow("unreferenced groups and sets are pruned")
        << design("4.3", chassis("Main", "TV-800", true),
                  group("1", "Used", "Level + Mute") + group("2", "Spare", "Mute") +
                      group("3", "Selector", "Selector"),
                  parameterSet("7", "Evening", "1") + parameterSet("8", "Draft", "2"),
                  "<Assignment><Group id=\"1\"/></Assignment>"
                  "<Assignment><Group id=\"3\"/></Assignment>"
                  "<Assignment><ParameterSet id=\"7\"/><ParameterSet id=\"9\"/></Assignment>"
                  "<Assignment><Group id=\"99\"><Assign targetID=\"1\"/></Group></Assignment>")
        << "Main\n  Used\n  Selector\n  Evening\n"
        << emptyChassisRows("Main") + "Groups\n  Used\n" + levelMute(4) +
               "  Selector\n    Selector #control\n"
               "ParameterSets\n  ParameterList #control\n  Evening #control\n";

    QTest::newRow("chassis left empty is pruned")
        << design("4.3", chassis("Main", "TV-800", true) + gainNode("Program") +
                             chassis("Spare", "TV-400", false, "Torva400", "10.0.0.3"))
        << "Main\n  Program\n"
        << "Main\n  Analog I/O\n  Digital I/O\n  Blocks\n    Program\n" + levelMute(6) +
               "Groups\nParameterSets\n";

    QTest::newRow("rejected chassis leaves its cards to the one before")
        << design("4.3", chassis("Main", "TV-800", true) +
                             chassis("Odd", "TV-9999", false, "Torva9999", "10.0.0.4") +
                             gainNode("Program"))
        << "Main\n  Program\n"
        << QString();

    QTest::newRow("unknown cards and block kinds")
        << design("4.3", chassis("Main", "TV-800", true) + cardNode("Input", "AIN-16", "Odd card") +
                             gainNode("Gain 2", "Gain 2") + gainNode("Tone", "ToneEQ") +
                             node("Matrix", {prop("title", "Matrix"), prop("label", "Mx")}) +
                             node("GPI", {prop("title", "GPI"), prop("label", "Door")}))
        << "Main\n  Odd card\n  Tone\n"
        << "Main\n  Analog I/O\n  Digital I/O\n  Blocks\n    Tone #panel\n"
           "Groups\nParameterSets\n";

    QTest::newRow("amplifier platform")
        << design("4.3", chassis("Main", "TV-800", true) +
                             chassis("Amp", "RX-640 (Ceiling)", false, "RallenRX640", "10.0.0.5") +
                             cardNode("Output", "AMP-OUT", "Zones") +
                             cardNode("Output", "AOUT-4", "Not an amp card"))
        << "Amp\n  Zones\n  Not an amp card\n"
        << "Amp\n  Analog I/O\n    Zones\n" + levelMute(6) +
               "  Digital I/O\nGroups\nParameterSets\n";

    QTest::newRow("link card") << design("4.3", chassis("Main", "TV-800", true) +
                                                    node("TorvaLinkTx", {prop("label", "Link"),
                                                                         prop("label1", "Ch 1")}))
                               << "Main\n  Link\n"
                               << QString();

    QTest::newRow("nodes and properties outside their places")
        << design("4.3", chassis("Main", "TV-800", true) + gainNode("Program") + "<Extra>" +
                             gainNode("Nested elsewhere") + "</Extra>" + prop("label", "Stray"))
        << "Main\n  Program\n"
        << QString();

    QTest::newRow("a node inside a node replaces it")
        << design("4.3", chassis("Main", "TV-800", true) +
                             "<Node className=\"Orvane.Foundry.Nodes.Gain\" typeNumber=\"0\">" +
                             prop("title", "Gain") + prop("label", "Outer") + "<Nodes>" +
                             gainNode("Inner") + "</Nodes></Node>")
        << "Main\n  Inner\n"
        << QString();
}

void tst_designreader::smallDesigns()
{
    QFETCH(QString, text);
    QFETCH(QString, nodes);
    QFETCH(QString, rows);
    QString error;
    QVERIFY2(loadText(text, &error), qPrintable(error));
    m_pRoot->pruneUnreferenced();
    QCOMPARE(nodeListing(m_pRoot), nodes);
    if (!rows.isEmpty()) {
        QStandardItemModel model;
        m_pRoot->populate(&model);
        QCOMPARE(rowListing(model, true), rows);
    }
    QCOMPARE(m_pMessages->count(), 0);
}

void tst_designreader::deviceNodeChangesNothing()
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

void tst_designreader::assignmentInsideNodeTakesItOver()
{
    // An assignment inside a node section keeps building that node, which is
    // finished when the assignment ends; later properties are not read.
    const QString text = design(
        "4.3",
        chassis("Main", "TV-800", true) + "</Nodes><Groups>" + group("5", "Speakers", "Mute") +
            "</Groups><Nodes>" + "<Node className=\"Orvane.Foundry.Nodes.Gain\" typeNumber=\"0\">" +
            prop("title", "Gain") + prop("label", "Program") +
            "<Assignment><Group id=\"5\"/></Assignment>" + prop("label", "Too late") + "</Node>");
    QVERIFY(loadText(text));
    m_pRoot->pruneUnreferenced();
    QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Main\n  Speakers\n  Program\n"));
}

void tst_designreader::selectorGroupKeepsFirstTarget()
{
    QVERIFY(loadText(
        design("4.3", chassis("Main", "TV-800", true), group("4", "Source", "Selector"), QString(),
               "<Assignment><Group id=\"4\">"
               "<Assign targetID=\"31\" targetProp=\"name1\" targetValue=\"Laptop\"/>"
               "<Assign targetID=\"40\" targetProp=\"name1\" targetValue=\"Elsewhere\"/>"
               "<Assign targetID=\"31\" targetProp=\"index\" targetValue=\"2\"/>"
               "<Assign targetID=\"31\" targetProp=\"name2\" targetValue=\"Wireless\"/>"
               "</Group></Assignment>")));
    auto *selector = dynamic_cast<HGroup *>(
        m_pRoot->findByCategoryProperty(QStringLiteral("Groups"), QStringLiteral("id"), "4"));
    QVERIFY(selector);
    QCOMPARE(selector->targetId(), 31);
    QCOMPARE(selector->selectorNames(), QStringList({"Laptop", "Wireless"}));
    QCOMPARE(selector->typenum(), QStringLiteral("3"));
    QVERIFY(!selector->hasFlag(HNode::NotReferenced));
}

void tst_designreader::projectInformation()
{
    const QString info = "<Facility name=\"Harbourside\"/>"
                         "<BusinessManeger name=\"Marta\" email=\"m@example.org\" tel=\"1\"/>"
                         "<Customer name=\"Events AB\"/>"
                         "<Comments comment1=\"one\" comment6=\"six\"/>"
                         "<Project version=\"4.3\"/>";
    m_pProject->setValue("Customer", "address", "Old address");
    QVERIFY(loadText(
        design("4.3", chassis("Main", "TV-800", true), QString(), QString(), QString(), info)));
    QCOMPARE(m_pProject->facilityName(), QStringLiteral("Harbourside"));
    QCOMPARE(m_pProject->value("BusinessManeger", "email"), QStringLiteral("m@example.org"));
    QCOMPARE(m_pProject->value("Customer", "name"), QStringLiteral("Events AB"));
    QCOMPARE(m_pProject->value("Customer", "address"), QString());
    QCOMPARE(m_pProject->value("Comments", "comment6"), QStringLiteral("six"));
    QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Main\n"));

    // Without a project record the section is read and dropped.
    HRoot root;
    const QString path = writeFile("info.zdp", design("4.3", chassis("Main", "TV-800", true),
                                                      QString(), QString(), QString(), info)
                                                   .toUtf8());
    QVERIFY(XZDPHandler::load(path, &root, nullptr, nullptr));
    QCOMPARE(root.childCount(), 1);
}

void tst_designreader::exampleDesign()
{
    QString error;
    QVERIFY2(XZDPHandler::load(ExamplesDir + "conference-room.zdp", m_pRoot, m_pProject, &error),
             qPrintable(error));
    m_pRoot->pruneUnreferenced();
    QCOMPARE(m_pMessages->count(), 0);
    QCOMPARE(m_pProject->facilityName(), QStringLiteral("Harbourside Conference Centre"));
    QCOMPARE(m_pProject->value("Engineer", "name"), QStringLiteral("Jonas Aberg"));

    QString linkRows;
    for (int n = 1; n <= 8; ++n)
        linkRows += QStringLiteral("      Level %1 #control\n      Mute %1 #control\n").arg(n);
    QStandardItemModel model;
    m_pRoot->populate(&model);
    QCOMPARE(rowListing(model, true),
             "Room A\n"
             "  Analog I/O\n"
             "    Table Mics\n" +
                 levelMute(6) + "    Laptop Inputs\n" + levelMute(6) + "    Room Speakers\n" +
                 levelMute(6) + "  Digital I/O\n    Dante In\n" + levelMute(6) + "    Link Out\n" +
                 levelMute(6) + "    Link to Annex\n" + linkRows + "  Blocks\n    Program Level\n" +
                 levelMute(6) +
                 "    Source Select\n      List #control\n    Room Tone #panel\n"
                 "Annex\n  Analog I/O\n    Annex Inputs\n" +
                 levelMute(6) + "    Annex Speakers\n" + levelMute(6) +
                 "  Digital I/O\n    Recorder Feed\n" + levelMute(6) +
                 "  Blocks\n    Annex Level\n" + levelMute(6) +
                 "Ceiling Amp\n  Analog I/O\n    Ceiling Zones\n" + levelMute(6) +
                 "  Digital I/O\nGroups\n  All Speakers\n" + levelMute(4) +
                 "  Microphones\n    Level #control\n"
                 "  Privacy Mute\n    Mute #control\n  Annex Source\n    Selector #control\n"
                 "ParameterSets\n  ParameterList #control\n  Presentation #control\n"
                 "  Video Call #control\n");

    auto *main = dynamic_cast<HChassis *>(m_pRoot->childAt(0));
    auto *annex = dynamic_cast<HChassis *>(m_pRoot->childAt(1));
    auto *amp = dynamic_cast<HChassis *>(m_pRoot->childAt(2));
    QVERIFY(main && annex && amp);
    QVERIFY(main->hasFlag(HNode::MainChassis));
    QVERIFY(!annex->hasFlag(HNode::MainChassis));
    QCOMPARE(main->modelName(), QStringLiteral("TV-1600"));
    QCOMPARE(main->ipAddress(), QStringLiteral("192.168.10.20"));
    QCOMPARE(amp->platform(), QStringLiteral("Rallen"));
    QCOMPARE(amp->protocol() != nullptr, true);
    auto *link = dynamic_cast<HTorvaLink *>(
        m_pRoot->findByProperty(QStringLiteral("label"), QStringLiteral("Link to Annex")));
    QVERIFY(link);
    QCOMPARE(link->channelLabel(0), QStringLiteral("TorvaLink-Ch 1"));
    QCOMPARE(link->channelLabel(2), QStringLiteral("Presenter"));
    QCOMPARE(link->channelLabel(6), QString());
    QCOMPARE(link->protocol(), main->protocol());
    HNode *selector = m_pRoot->findByProperty("label", "Source Select");
    QVERIFY(selector);
    QCOMPARE(selector->names(),
             QStringLiteral("Laptop HDMI,Laptop Jack,Wireless Mic,Background Music,"));
    QCOMPARE(selector->index(), 2);
    auto *annexSource = dynamic_cast<HGroup *>(m_pRoot->findByProperty("label", "Annex Source"));
    QVERIFY(annexSource);
    QCOMPARE(annexSource->selectorNames(),
             QStringList({"Laptop HDMI", "Wireless Mic", "Background Music"}));
    QCOMPARE(m_pRoot->findByProperty("label", "Conference Phone"), nullptr);
    QCOMPARE(m_pRoot->findByProperty("label", "Spare Group"), nullptr);
    QCOMPARE(m_pRoot->findByProperty("label", "Unused Draft"), nullptr);
}

void tst_designreader::exampleReport()
{
    QVERIFY(XZDPHandler::load(ExamplesDir + "conference-room.zdp", m_pRoot, m_pProject, nullptr));
    m_pRoot->pruneUnreferenced();
    const QJsonObject report = HDesignReport::toJson(m_pRoot);
    const QJsonArray rows = report.value("rows").toArray();
    QCOMPARE(rows.count(), 5);
    const QJsonObject room = rows.at(0).toObject();
    QCOMPARE(room.value("text").toString(), QStringLiteral("Room A"));
    QVERIFY(room.value("drag").isNull());
    QCOMPARE(room.value("flags").toInt(), 49);
    const QJsonObject blocks = room.value("children").toArray().at(2).toObject();
    QCOMPARE(blocks.value("text").toString(), QStringLiteral("Blocks"));
    const QJsonObject tone = blocks.value("children").toArray().at(2).toObject();
    QCOMPARE(tone.value("text").toString(), QStringLiteral("Room Tone"));
    QCOMPARE(tone.value("drag").toString(), QStringLiteral("panel"));
    QCOMPARE(tone.value("icon").toString(), QStringLiteral(":/images/CompletePanel.png"));
    const QJsonObject level = blocks.value("children")
                                  .toArray()
                                  .at(0)
                                  .toObject()
                                  .value("children")
                                  .toArray()
                                  .at(0)
                                  .toObject();
    QCOMPARE(level.value("text").toString(), QStringLiteral("Level"));
    QCOMPARE(level.value("drag").toString(), QStringLiteral("control"));
    QCOMPARE(level.value("flags").toInt(), 49 | 0x404);
    QCOMPARE(level.value("icon").toString(), QStringLiteral(":/images/SliderIcon.png"));
    QCOMPARE(rows.at(4).toObject().value("text").toString(), QStringLiteral("ParameterSets"));

    const QJsonArray nodes = report.value("nodes").toArray();
    QCOMPARE(nodes.count(), 3);
    const QJsonObject main = nodes.at(0).toObject();
    QCOMPARE(main.value("class").toString(), QStringLiteral("HChassis"));
    QCOMPARE(main.value("title").toString(), QStringLiteral("TV-1600 (Room A Rack)"));
    QCOMPARE(main.value("category").toString(), QStringLiteral("Chassis"));
    QCOMPARE(main.value("platform").toString(), QStringLiteral("Torva"));
    QStringList classes;
    for (const QJsonValue &child : main.value("children").toArray())
        classes << child.toObject().value("class").toString();
    QCOMPARE(classes, QStringList({"HAudioIO", "HAudioIO", "HAudioIO", "HAudioIO", "HAudioIO",
                                   "HTorvaLink", "HBlock", "HBlock", "HBlock", "HGroup", "HGroup",
                                   "HGroup", "HGroup", "HParameterSet", "HParameterSet"}));
    const QJsonObject group = main.value("children").toArray().at(9).toObject();
    QCOMPARE(group.value("typenum").toString(), QStringLiteral("1"));
    QCOMPARE(group.value("platform").toString(), QStringLiteral("Zindral"));
    QCOMPARE(nodes.at(2).toObject().value("platform").toString(), QStringLiteral("Rallen"));
    HNode *program = m_pRoot->findByProperty("label", "Program Level");
    QVERIFY(program && program->parameters().count() == 2);
    QVERIFY2(!program->parameters().first()->item(), "no parameter points into the report's rows");

    const QString text = HDesignReport::toText(m_pRoot);
    QVERIFY2(text.contains("\n  Room A  [flags 49]\n"), qPrintable(text));
    QVERIFY2(text.contains("\n      Room Tone  [panel, flags 2101, :/images/CompletePanel.png]\n"),
             qPrintable(text));
    QVERIFY2(text.contains("\n  HChassis \"Ceiling Amp\"  title=RX-640 (Ceiling Amp) typenum=0 "
                           "category=Chassis platform=Rallen\n"),
             qPrintable(text));

    HRoot empty;
    const QJsonObject none = HDesignReport::toJson(&empty);
    QCOMPARE(none.value("rows").toArray().count(), 2);
    QCOMPARE(none.value("nodes").toArray().count(), 0);
    QCOMPARE(HDesignReport::toJson(nullptr).value("rows").toArray().count(), 0);
}

void tst_designreader::oldExampleRefused()
{
    QString error;
    QVERIFY(!XZDPHandler::load(ExamplesDir + "old-version.zdp", m_pRoot, m_pProject, &error));
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().text, RefusalFor41);
    QCOMPARE(m_pRoot->childCount(), 0);
    QCOMPARE(m_pProject->facilityName(), QStringLiteral("SITE NAME"));
}

void tst_designreader::dropsReadTheTemplates_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("gain level") << "Program Level"
                                << "Level"
                                << "Slider;range;index1=1;step=0.5;transform=strV";
    QTest::newRow("gain mute") << "Program Level"
                               << "Mute"
                               << "Button;list;index1=2;set=F,O,T;transform=chrL";
    QTest::newRow("input level") << "Table Mics"
                                 << "Level"
                                 << "Slider;range;index1=3;step=0.5;transform=strV";
    QTest::newRow("selector") << "Source Select"
                              << "List"
                              << "DropList;range;index1=1;maximum=8;transform=bin8";
    QTest::newRow("link channel label") << "Link to Annex"
                                        << "Level 3"
                                        << "Slider;range;index1=3;struct=7;label=Presenter";
    QTest::newRow("link prefixed label") << "Link to Annex"
                                         << "Mute 1"
                                         << "Button;list;index1=1;struct=7;label=TorvaLink-Ch 1";
    QTest::newRow("group mute") << "All Speakers"
                                << "Mute"
                                << "Button;list;struct=6;set=U,M,T;transform=chrL";
    QTest::newRow("group selector") << "Annex Source"
                                    << "Selector"
                                    << "DropList;list;index1=1;struct=1;transform=bin8";
    QTest::newRow("parameter set") << "Presentation"
                                   << "Presentation"
                                   << "TextLink;list;index1=1;struct=4;transform=bin8";
    QTest::newRow("amplifier") << "Ceiling Zones"
                               << "Level"
                               << "Slider;range;index1=1;maximum=0;transform=strV";
}

void tst_designreader::dropsReadTheTemplates()
{
    QFETCH(QString, label);
    QFETCH(QString, parameter);
    QFETCH(QString, expected);
    QVERIFY(XZDPHandler::load(ExamplesDir + "conference-room.zdp", m_pRoot, m_pProject, nullptr));
    m_pRoot->pruneUnreferenced();
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
    QStringList actual = {control->type(), attributes.kind()};
    const QStringList parts = expected.split(QLatin1Char(';'));
    for (const QString &part : parts.mid(2)) {
        const QString key = part.section(QLatin1Char('='), 0, 0);
        QString value;
        if (key == "index1")
            value = QString::number(attributes.index1());
        else if (key == "step")
            value = QString::number(attributes.step());
        else if (key == "maximum")
            value = QString::number(attributes.maximum());
        else if (key == "struct")
            value = QString::number(attributes.structNumber());
        else if (key == "set")
            value = attributes.set();
        else if (key == "transform")
            value = attributes.transform();
        else if (key == "label")
            value = attributes.channelLabel();
        actual << key + QLatin1Char('=') + value;
    }
    QCOMPARE(actual.join(QLatin1Char(';')), expected);
}

void tst_designreader::wholePanelTemplates()
{
    HRoot root;
    auto *rack = new HChassis;
    rack->setTitle(QStringLiteral("TV-800"));
    root.addChild(rack);
    struct Case
    {
        const char *title;
        int controls;
        const char *first;
    };
    for (const Case &c : {Case{"ToneEQ", 8, "Bounds"}, Case{"EchoCancel", 18, "Bounds"}}) {
        HNode *block = HNodeFactory::create(QString::fromLatin1(c.title), QString());
        block->setTitle(QString::fromLatin1(c.title));
        block->setTypenum(QStringLiteral("0"));
        rack->addChild(block);
        CComposite panel;
        panel.assignKind(QStringLiteral("Panel"));
        QString error;
        QVERIFY2(panel.loadFile(block->templatePath(QString()), &root, block, QString(), nullptr,
                                nullptr, &error),
                 qPrintable(error));
        QCOMPARE(panel.childCount(), c.controls);
        QCOMPARE(panel.childAt(0)->name(), QString::fromLatin1(c.first));
        for (CControl *control : panel.children()) {
            if (QString::fromLatin1(c.title) == QLatin1String("ToneEQ"))
                QVERIFY2(!control->attributes().enableEdit() || control->type() == "Bounds",
                         qPrintable(control->name()));
        }
    }
}

void tst_designreader::missingFile()
{
    QString error;
    QVERIFY(!XZDPHandler::load(m_pDir->filePath("absent.zdp"), m_pRoot, m_pProject, &error));
    QVERIFY2(error.contains("absent.zdp"), qPrintable(error));
    QCOMPARE(m_pMessages->count(), 0);
}

void tst_designreader::notWellFormedKeepsWhatWasRead()
{
    // What was attached before the fault stays; the caller decides about it.
    QString error;
    const QString text = "<?xml version=\"1.0\"?><Project version=\"4.3\"><Design><Nodes>" +
                         chassis("Main", "TV-800", true) + gainNode("Program") +
                         "<Node className=\"Orvane.Foundry.Nodes.Gain\">" + prop("label", "Half") +
                         "</Nodes></Design></Project>";
    QVERIFY(!loadText(text, &error));
    QVERIFY2(error.contains("line"), qPrintable(error));
    QCOMPARE(nodeListing(m_pRoot), QStringLiteral("Main\n  Program\n"));
    QCOMPARE(m_pMessages->count(), 0);
}

void tst_designreader::truncatedFile()
{
    QFile example(ExamplesDir + "conference-room.zdp");
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QByteArray bytes = example.readAll();
    const int cut = bytes.indexOf("<Node className=\"Orvane.Foundry.Nodes.Pekko\"");
    QVERIFY(cut > 0);
    for (int length : {0, 10, cut + 30, bytes.size() - 20}) {
        HRoot root;
        const QString path = writeFile(QStringLiteral("cut%1.zdp").arg(length), bytes.left(length));
        QString error;
        QVERIFY2(!XZDPHandler::load(path, &root, m_pProject, &error),
                 qPrintable(QStringLiteral("cut at %1 was read").arg(length)));
        QVERIFY(!error.isEmpty());
        if (length == cut + 30)
            QCOMPARE(root.childCount(), 2);
    }
    QCOMPARE(m_pMessages->count(), 0);
}

void tst_designreader::deepNesting()
{
    const int levels = 50000;
    QByteArray bytes = "<?xml version=\"1.0\"?><Project version=\"4.3\">";
    bytes.reserve(levels * 8 + 100);
    for (int i = 0; i < levels; ++i)
        bytes += "<Nodes>";
    for (int i = 0; i < levels; ++i)
        bytes += "</Nodes>";
    bytes += "</Project>";
    const QString path = writeFile("deep.zdp", bytes);
    QString error;
    QVERIFY(!XZDPHandler::load(path, m_pRoot, m_pProject, &error));
    QVERIFY2(error.contains("nested too deeply"), qPrintable(error));
    QCOMPARE(m_pRoot->childCount(), 0);

    // Real files nest a handful of levels; a few more wrappers are still read.
    QByteArray shallow = "<?xml version=\"1.0\"?><Project version=\"4.3\">";
    for (int i = 0; i < 8; ++i)
        shallow += "<Wrap>";
    shallow += "<Nodes>" + chassis("Main", "TV-800", true).toUtf8() + "</Nodes>";
    for (int i = 0; i < 8; ++i)
        shallow += "</Wrap>";
    shallow += "</Project>";
    QVERIFY(XZDPHandler::load(writeFile("shallow.zdp", shallow), m_pRoot, m_pProject, &error));
    QCOMPARE(m_pRoot->childCount(), 1);
}

void tst_designreader::entityDeclarations_data()
{
    QTest::addColumn<QByteArray>("prolog");
    QTest::addColumn<QByteArray>("label");
    QByteArray laughs = "<!DOCTYPE Project [<!ENTITY a \"haha\">";
    for (char c = 'b'; c <= 'k'; ++c)
        laughs += QByteArray("<!ENTITY ") + c + " \"" +
                  QByteArray(10, '&').replace("&", QByteArray("&") + char(c - 1) + ";") + "\">";
    laughs += "]>";
    QTest::newRow("expansion bomb") << laughs << QByteArray("&k;");
    QTest::newRow("external file")
        << QByteArray("<!DOCTYPE Project [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>")
        << QByteArray("&x;");
    QTest::newRow("parameter entity")
        << QByteArray("<!DOCTYPE Project [<!ENTITY % p \"<!ENTITY q 'x'>\"> %p;]>")
        << QByteArray("plain");
}

void tst_designreader::entityDeclarations()
{
    QFETCH(QByteArray, prolog);
    QFETCH(QByteArray, label);
    const QByteArray bytes = "<?xml version=\"1.0\"?>" + prolog +
                             "<Project version=\"4.3\"><Nodes>" +
                             chassis("Main", "TV-800", true).toUtf8() +
                             "<Node className=\"Orvane.Foundry.Nodes.Gain\" typeNumber=\"0\">"
                             "<Property name=\"title\" value=\"Gain\"/>"
                             "<Property name=\"label\" value=\"" +
                             label + "\"/></Node></Nodes></Project>";
    QString error;
    QVERIFY(!XZDPHandler::load(writeFile("entities.zdp", bytes), m_pRoot, m_pProject, &error));
    QVERIFY2(error.contains("Entity declarations"), qPrintable(error));
    QCOMPARE(m_pRoot->childCount(), 0);
}

void tst_designreader::oversizedFile()
{
    const QString path = m_pDir->filePath("huge.zdp");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(design("4.3", chassis("Main", "TV-800", true)).toUtf8());
    // Sparse: the size is refused before a byte of it is read.
    QVERIFY(file.resize(XZDPHandler::MaxFileSize + 1));
    file.close();
    QString error;
    QVERIFY(!XZDPHandler::load(path, m_pRoot, m_pProject, &error));
    QVERIFY2(error.contains("too large"), qPrintable(error));
    QCOMPARE(m_pRoot->childCount(), 0);
}

void tst_designreader::largeFile()
{
    // Several megabytes of real structure and one very long value: read as a
    // stream, kept only where it names something the tree holds.
    QByteArray nodes = chassis("Main", "TV-800", true).toUtf8();
    const QByteArray filler =
        node("Matrix", {prop("title", "Matrix"), prop("label", "Routing")}).toUtf8();
    nodes.reserve(filler.size() * 40000 + 4 * 1024 * 1024);
    for (int i = 0; i < 40000; ++i)
        nodes += filler;
    nodes += node("Gain", {prop("title", "Gain"),
                           prop("label", QString(2 * 1024 * 1024, QLatin1Char('x')))})
                 .toUtf8();
    nodes += gainNode("Program").toUtf8();
    const QByteArray bytes =
        "<?xml version=\"1.0\"?><Project version=\"4.3\"><Nodes>" + nodes + "</Nodes></Project>";
    QVERIFY(bytes.size() > 6 * 1024 * 1024);
    QString error;
    QVERIFY2(XZDPHandler::load(writeFile("large.zdp", bytes), m_pRoot, m_pProject, &error),
             qPrintable(error));
    auto *main = dynamic_cast<HChassis *>(m_pRoot->childAt(0));
    QVERIFY(main);
    QCOMPARE(main->childCount(), 2);
    QCOMPARE(main->childAt(0)->label().size(), 2 * 1024 * 1024);
    QCOMPARE(main->childAt(1)->label(), QStringLiteral("Program"));
}

ZRB_TEST_MAIN(tst_designreader)
#include "tst_designreader.moc"
