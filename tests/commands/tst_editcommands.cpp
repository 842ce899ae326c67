#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"

#include "app/MModel.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "commands/BEditPropCommand.h"
#include "controls/MQmlInterface.h"
#include "controls/WDropSite.h"
#include "design/HNode.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickItem>
#include <QtTest>

#include <memory>

namespace {

const QString Design = QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp");
const QString Blank = QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl");

// A model with a blank document, the example design and live items on a
// canvas engine, the way the canvas builds them.
struct Rig {
    CCanvas canvas;
    MModel model;
    QQuickItem content;
    VQmlFrame frame;

    Rig()
    {
        model.setCanvas(&canvas);
        frame.initialize(true);
        model.setQmlFrame(&frame);
        frame.setModel(&model);
        model.setCanvasItem(&content);
        model.rebindFactory(frame.engine()->rootContext());
        model.initialize();
        model.newDocument(Blank);
        model.loadDesign(Design);
    }
    // The commands go first, while what their controls live on is there.
    ~Rig() { BCommandProcessor::release(); }

    MQmlInterface *bridge() const { return frame.interface(); }
    CComposite *panel() const { return model.currentPanel(); }
    QString xml()
    {
        return TestSupport::writtenXml([this](XmlWriter &writer) { model.writeDocument(&writer); });
    }
    HNode *node(const QString &label, HNode *from = nullptr) const
    {
        HNode *at = from ? from : model.hardwareRoot();
        if (at->label() == label)
            return at;
        for (int i = 0; at->childAt(i); ++i) {
            if (HNode *found = node(label, at->childAt(i)))
                return found;
        }
        return nullptr;
    }
    // The drag payload that names an object: its address, as the tree sends it.
    static QString payload(const void *object)
    {
        return object ? QString::number(quint64(quintptr(object))) : QStringLiteral("0");
    }
    // Reads panel-file controls straight into the current panel.
    CControl *read(const QString &controls)
    {
        const int before = panel()->childCount();
        CLoadContext context;
        context.hardware = model.hardwareRoot();
        panel()->loadString("<ZDX><Controls>" + controls + "</Controls></ZDX>", context);
        return panel()->childAt(before);
    }
    // Runs an Edit menu command the way the main controller issues it.
    void edit(int code)
    {
        std::unique_ptr<BCommand> command = BCommandFactory::instance()->create(code);
        command->setModel(&model);
        command->prepare();
        command->execute(0);
        BCommandProcessor::instance()->process(std::move(command));
    }
};

BCommandProcessor *history()
{
    return BCommandProcessor::instance();
}

QString newestUndo()
{
    BCommand *command = history()->undoAt(history()->undoCount() - 1);
    return command ? command->text() : QString();
}

QList<CControl *> selection(Rig &rig)
{
    QList<CControl *> selected;
    rig.model.documentRoot()->collectSelected(selected);
    return selected;
}

// The live item of a control, watched: it goes when its control is deleted.
QPointer<QObject> watch(CControl *control)
{
    return control->items().value(0)->itemObject();
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Undo gives the document back to the byte, and redo the one the edit made.
void roundTrip(Rig &rig, const QString &before)
{
    const QString after = rig.xml();
    QVERIFY(after != before);
    history()->undo();
    QCOMPARE(rig.xml(), before);
    history()->redo();
    QCOMPARE(rig.xml(), after);
}

const QString SiteControls = QStringLiteral(
    "<Control name=\"Site\" type=\"DropSite\"><Property name=\"widget\"><dropsite><x>40</x>"
    "<y>60</y><width>80</width><height>200</height><type>Slider</type></dropsite><label><x>40</x>"
    "<y>40</y><width>80</width><height>20</height><text>Empty</text></label></Property>"
    "<Property name=\"attributes\"></Property></Control>");

} // namespace

class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drops_data();
    void drops();
    void dropPanel_data();
    void dropPanel();
    void dropSite_data();
    void dropSite();
    void copyPasteTwice();
    void cutUndoKeepsClipboard();
    void deleteIsOneStep();
    void pasteRefusals_data();
    void pasteRefusals();
    void pasteIntoAnotherDocument();
    void propertyEdit();
    void ownedControlsDieWithTheirCommand();
    void undoneDropBeforeDesignImport();
};

void TestEditCommands::init()
{
    USettings().clear();
    BCommandProcessor::release();
    QGuiApplication::clipboard()->clear();
}

void TestEditCommands::cleanup()
{
    BCommandProcessor::release();
}

void TestEditCommands::drops_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("object"); // design object or panel by name; "?" none
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("setup"); // a size remembered for the type, or "no panel"
    QTest::addColumn<QRectF>("placed"); // empty: nothing is created
    QTest::addColumn<QString>("message");

    const QString noPanels = "There are no panels in this collection.";
    // clang-format off
    QTest::newRow("parameter at (23, 47)") << "control" << "Mute" << "Table Mics"
        << QPoint(23, 47) << 1.0 << "" << QRectF(20, 45, 60, 40) << "";
    QTest::newRow("grid of ten at scale 2") << "control" << "Mute" << "Table Mics"
        << QPoint(23, 47) << 2.0 << "" << QRectF(20, 40, 60, 40) << "";
    QTest::newRow("graphic") << "control" << "Label" << ""
        << QPoint(99, 5) << 1.0 << "" << QRectF(95, 5, 120, 24) << "";
    QTest::newRow("remembered size") << "control" << "Frame" << ""
        << QPoint(50, 50) << 2.0 << "40x20" << QRectF(50, 50, 80, 40) << "";
    QTest::newRow("beside the panel comes in") << "control" << "Label" << ""
        << QPoint(400, 600) << 1.0 << "" << QRectF(180, 316, 120, 24) << "";
    QTest::newRow("unknown graphic") << "control" << "Circle" << ""
        << QPoint(20, 20) << 1.0 << "" << QRectF() << "";
    QTest::newRow("parameter the object lacks") << "control" << "Gain" << "Table Mics"
        << QPoint(20, 20) << 1.0 << "" << QRectF() << "";
    QTest::newRow("object not in the design") << "control" << "Mute" << "?"
        << QPoint(20, 20) << 1.0 << "" << QRectF() << "";
    QTest::newRow("link") << "link" << "Home" << "Home"
        << QPoint(23, 47) << 1.0 << "" << QRectF(20, 45, 120, 30) << "";
    QTest::newRow("link to no panel") << "link" << "Home" << "?"
        << QPoint(23, 47) << 1.0 << "" << QRectF() << "";
    QTest::newRow("link without a current panel") << "link" << "Home" << "Home"
        << QPoint(23, 47) << 1.0 << "no panel" << QRectF() << noPanels;
    // clang-format on
}

// Each drop is one undo step that takes the document back to the byte, and
// redo brings the same control back to the same place.
void TestEditCommands::drops()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, object);
    QFETCH(QPoint, point);
    QFETCH(double, scale);
    QFETCH(QString, setup);
    QFETCH(QRectF, placed);
    QFETCH(QString, message);

    Rig rig;
    RecordingMessageHandler messages;
    CComposite *home = rig.panel();
    const void *target = kind == "link" ? static_cast<const void *>(home)
                                        : static_cast<const void *>(rig.node(object));
    // A graphic row carries 0; "?" names an address that is no object.
    const QString payload = object == "?"      ? QStringLiteral("12345")
                            : object.isEmpty() ? QStringLiteral("0")
                                               : Rig::payload(target);
    home->childAt(1)->setSelected(1);
    if (setup == "no panel")
        rig.model.setPage(5);
    else if (!setup.isEmpty())
        USettings().setValue("Layout/" + text, setup);
    rig.model.setViewScale(float(scale));
    rig.model.setModified(false);
    const QString before = rig.xml();

    if (kind == "link")
        rig.bridge()->dropLink(text, payload, point.x(), point.y());
    else
        rig.bridge()->dropControl(text, payload, point.x(), point.y());

    QCOMPARE(messages.last().text, message);
    QCOMPARE(rig.model.isModified(), !placed.isEmpty());
    if (placed.isEmpty()) {
        QCOMPARE(history()->undoCount(), 0);
        QCOMPARE(rig.xml(), before);
        return;
    }
    QCOMPARE(history()->undoCount(), 1);
    QCOMPARE(newestUndo(), kind == "link" ? QStringLiteral("Drop Link") : QStringLiteral("Drop Control"));
    CControl *created = home->childAt(home->childCount() - 1);
    QCOMPARE(created->bounds(), placed);
    // The drop replaces the selection with the new control.
    QCOMPARE(selection(rig), QList<CControl *>{created});
    if (kind == "control" && !object.isEmpty())
        QCOMPARE(created->block(), rig.node(object));
    roundTrip(rig, before);
    QCOMPARE(home->childAt(home->childCount() - 1), created);
    QCOMPARE(created->bounds(), placed);
}

void TestEditCommands::dropPanel_data()
{
    QTest::addColumn<int>("panelsBefore"); // in the current collection; -1 a new empty one
    QTest::addColumn<int>("panelsAfter");  // added behind it before the undo
    QTest::addColumn<int>("shownAfterUndo"); // index; -1 none
    QTest::addColumn<QString>("message");
    QTest::newRow("after Home") << 1 << 0 << 0 << "";
    QTest::newRow("after the fifth") << 5 << 0 << 4 << "";
    QTest::newRow("first of an empty collection") << -1 << 0 << -1 << "";
    QTest::newRow("first, the last shown") << -1 << 2 << 1 << "";
    QTest::newRow("seventh") << 6 << 0 << -1 << "The maximum number of panels in a scene is: 6";
}

void TestEditCommands::dropPanel()
{
    QFETCH(int, panelsBefore);
    QFETCH(int, panelsAfter);
    QFETCH(int, shownAfterUndo);
    QFETCH(QString, message);

    Rig rig;
    RecordingMessageHandler messages;
    const QString tone = Rig::payload(rig.node(QStringLiteral("Room Tone")));
    if (panelsBefore < 0)
        rig.model.selectCollection(rig.model.addCollection()->name());
    for (int i = 1; i < panelsBefore; ++i)
        rig.bridge()->dropPanel(QStringLiteral("Room Tone"), tone);
    history()->clear();
    CComposite *collection = rig.model.currentCollection();
    CComposite *current = rig.panel();
    const QString before = rig.xml();

    rig.bridge()->dropPanel(QStringLiteral("Room Tone"), tone);

    QCOMPARE(messages.last().text, message);
    if (!message.isEmpty()) {
        QCOMPARE(history()->undoCount(), 0);
        QCOMPARE(rig.panel(), current);
        QCOMPARE(rig.xml(), before);
        return;
    }
    QCOMPARE(newestUndo(), QStringLiteral("Drop Panel"));
    CComposite *dropped = rig.panel();
    QCOMPARE(collection->childAt(collection->childCount() - 1), dropped);
    QCOMPARE(dropped->name(), QStringLiteral("Room Tone"));
    roundTrip(rig, before);
    QCOMPARE(rig.panel(), dropped);
    QCOMPARE(rig.bridge()->property("pageCount").toInt(), collection->childCount());

    for (int i = 0; i < panelsAfter; ++i)
        rig.model.addPanel(rig.node(QStringLiteral("Room Tone")));
    rig.model.selectPanel(dropped);
    history()->undo();
    QCOMPARE(rig.panel(), shownAfterUndo < 0 ? nullptr : collection->childAt(shownAfterUndo));
    QCOMPARE(rig.bridge()->property("pageCount").toInt(), collection->childCount());
}

void TestEditCommands::dropSite_data()
{
    QTest::addColumn<bool>("occupied");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("answer"); // to the overwrite question
    QTest::addColumn<bool>("filled");
    QTest::newRow("empty site") << false << "Level" << 0 << true;
    QTest::newRow("replacing, yes") << true << "Level" << int(QMessageBox::Yes) << true;
    QTest::newRow("replacing, no") << true << "Level" << int(QMessageBox::No) << false;
    QTest::newRow("another kind") << false << "Mute" << 0 << false;
}

void TestEditCommands::dropSite()
{
    QFETCH(bool, occupied);
    QFETCH(QString, parameter);
    QFETCH(int, answer);
    QFETCH(bool, filled);

    Rig rig;
    RecordingMessageHandler messages;
    HNode *mics = rig.node(QStringLiteral("Table Mics"));
    mics->loadParameters();
    CControl *siteControl = rig.read(SiteControls);
    auto *site = qobject_cast<WDropSite *>(siteControl->items().value(0)->itemObject());
    QVERIFY(site);
    CControl *previous = nullptr;
    if (occupied) {
        rig.bridge()->dropSite(QStringLiteral("Level"), Rig::payload(mics), site);
        previous = site->child();
        QVERIFY(previous);
        messages.queueAnswer(QMessageBox::StandardButton(answer));
    }
    history()->clear();
    const QString before = rig.xml();

    rig.bridge()->dropSite(parameter, Rig::payload(mics), site);

    QCOMPARE(history()->undoCount(), int(filled));
    if (!filled) {
        QCOMPARE(site->child(), previous);
        QCOMPARE(rig.xml(), before);
        return;
    }
    CControl *held = site->child();
    QVERIFY(held && held != previous);
    QCOMPARE(held->bounds(), QRectF(40, 60, 80, 200));
    QCOMPARE(held->dropSiteHost(), siteControl);
    QVERIFY(previous == nullptr || !rig.panel()->contains(previous));
    QVERIFY(rig.xml().contains(QStringLiteral("<child>%1</child>").arg(held->id())));
    roundTrip(rig, before);
    QCOMPARE(site->child(), held);
}

void TestEditCommands::copyPasteTwice()
{
    Rig rig;
    CControl *title = rig.panel()->childAt(1);
    title->setSelected(1);
    const QString before = rig.xml();
    rig.model.setModified(false);
    rig.edit(BCommandFactory::EditCopy);
    QCOMPARE(history()->undoCount(), 0);
    QVERIFY2(!rig.model.isModified(), "copying changed nothing");
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data->hasFormat(QStringLiteral("application/control")));
    QVERIFY2(data->text().contains(QStringLiteral("<Control name=\"Title\" type=\"Label\">")),
             qPrintable(data->text()));

    rig.edit(BCommandFactory::EditPaste);
    rig.edit(BCommandFactory::EditPaste);
    QCOMPARE(history()->undoCount(), 2);
    QCOMPARE(newestUndo(), QStringLiteral("Paste"));
    QCOMPARE(rig.panel()->childCount(), 4);
    CControl *first = rig.panel()->childAt(2);
    CControl *second = rig.panel()->childAt(3);
    // Two sets of their own: separate objects and ids, each the selection once pasted.
    QCOMPARE(QSet<quint32>({title->id(), first->id(), second->id()}).count(), 3);
    QCOMPARE(selection(rig), QList<CControl *>{second});
    QCOMPARE(first->bounds(), title->bounds());
    history()->undo();
    QCOMPARE(rig.panel()->childCount(), 3);
    QCOMPARE(rig.panel()->childAt(2), first);
    roundTrip(rig, before);
}

void TestEditCommands::cutUndoKeepsClipboard()
{
    Rig rig;
    CControl *bounds = rig.panel()->childAt(0);
    CControl *title = rig.panel()->childAt(1);
    const QString before = rig.xml();
    bounds->setSelected(1);
    title->setSelected(1);
    rig.edit(BCommandFactory::EditCut);
    QCOMPARE(rig.panel()->childCount(), 0);
    QCOMPARE(newestUndo(), QStringLiteral("Cut"));
    const QByteArray cut =
        QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/control"));
    QVERIFY(!cut.isEmpty());
    // Pasted back, the controls keep their ids, now free: the same document.
    rig.edit(BCommandFactory::EditPaste);
    QCOMPARE(rig.xml(), before);
    history()->undo();
    QCOMPARE(rig.panel()->childCount(), 0);

    history()->undo();
    QCOMPARE(rig.xml(), before);
    QCOMPARE(rig.panel()->childAt(0), bounds);
    QCOMPARE(selection(rig), (QList<CControl *>{bounds, title}));
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("application/control")),
             cut);
    // A cut that finds nothing selected leaves clipboard and history alone.
    rig.model.clearSelection();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    rig.edit(BCommandFactory::EditCut);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(history()->undoCount(), 0);
}

void TestEditCommands::deleteIsOneStep()
{
    Rig rig;
    CControl *site = rig.read(SiteControls);
    HNode *mics = rig.node(QStringLiteral("Table Mics"));
    mics->loadParameters();
    rig.bridge()->dropSite(QStringLiteral("Level"), Rig::payload(mics),
                           qobject_cast<WDropSite *>(site->items().value(0)->itemObject()));
    CControl *held = site->items().value(0)->child();
    history()->clear();
    rig.model.clearSelection();
    // The outline and a drop site, around the title: what the site holds
    // goes with it, and all come back in their places.
    rig.panel()->childAt(0)->setSelected(1);
    site->setSelected(1);
    const QString before = rig.xml();

    rig.edit(BCommandFactory::EditDelete);
    QCOMPARE(history()->undoCount(), 1);
    QCOMPARE(newestUndo(), QStringLiteral("Delete"));
    QCOMPARE(rig.panel()->childCount(), 1);
    QVERIFY(!rig.panel()->contains(held));
    roundTrip(rig, before);

    // Nothing selected: nothing listed.
    rig.model.clearSelection();
    rig.edit(BCommandFactory::EditDelete);
    QCOMPARE(history()->undoCount(), 1);
}

void TestEditCommands::pasteRefusals_data()
{
    QTest::addColumn<QString>("format"); // "" for text
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("templatePanel");
    QTest::addColumn<bool>("warned");
    const QString label =
        "<?xml version=\"1.0\"?><ZDX><Controls><Control name=\"L\" type=\"Label\"><Property "
        "name=\"widget\"><label><x>1</x><y>2</y><width>30</width><height>10</height></label>"
        "</Property></Control></Controls></ZDX>";
    QTest::newRow("plain text") << "" << "Mute" << false << true;
    QTest::newRow("no controls in it") << "" << "<ZDX><Controls/></ZDX>" << false << true;
    QTest::newRow("broken half-way") << "application/control" << label.left(150) << false << true;
    QTest::newRow("into a template panel") << "application/control" << label << true << false;
    QTest::newRow("empty clipboard") << "" << "" << false << false;
    QTest::newRow("from text alone") << "" << label << false << false;
}

void TestEditCommands::pasteRefusals()
{
    QFETCH(QString, format);
    QFETCH(QString, content);
    QFETCH(bool, templatePanel);
    QFETCH(bool, warned);

    Rig rig;
    RecordingMessageHandler messages;
    auto *data = new QMimeData();
    if (format.isEmpty())
        data->setText(content);
    else
        data->setData(format, content.toUtf8());
    QGuiApplication::clipboard()->setMimeData(data);
    if (templatePanel)
        rig.panel()->setPanelKindValue(CComposite::Template);
    const int controlsBefore = rig.panel()->childCount();
    const QString before = rig.xml();

    rig.edit(BCommandFactory::EditPaste);

    QCOMPARE(messages.count(), int(warned));
    if (warned)
        QCOMPARE(messages.last().text,
                 QStringLiteral("The clipboard holds no controls that can be pasted."));
    const bool pasted = !warned && !templatePanel && !content.isEmpty();
    QCOMPARE(history()->undoCount(), int(pasted));
    QCOMPARE(rig.panel()->childCount(), controlsBefore + int(pasted));
    if (!pasted)
        QCOMPARE(rig.xml(), before);
}

void TestEditCommands::pasteIntoAnotherDocument()
{
    auto first = std::make_unique<Rig>();
    CControl *title = first->panel()->childAt(1);
    CItem *titleItem = title->findItem(QStringLiteral("label"));
    titleItem->setTitle(QStringLiteral("From the first"));
    title->setSelected(1);
    first->edit(BCommandFactory::EditCopy);
    first.reset();

    Rig second;
    second.edit(BCommandFactory::EditPaste);
    QCOMPARE(second.panel()->childCount(), 3);
    CControl *pasted = second.panel()->childAt(2);
    QCOMPARE(pasted->findItem(QStringLiteral("label"))->rootText(),
             QStringLiteral("From the first"));
    QCOMPARE(second.xml().count(QStringLiteral("<Control ")), 3);
    // Both documents counted ids from the same second: the pasted control
    // takes a new one rather than repeat the title's.
    QVERIFY(pasted->id() != second.panel()->childAt(1)->id());
}

void TestEditCommands::propertyEdit()
{
    Rig rig;
    CControl *title = rig.panel()->childAt(1);
    auto *label = qobject_cast<WWidget *>(title->items().value(0)->itemObject());
    label->setAttribute(0x4001, 10);
    const QString before = rig.xml();
    const auto edit = [&](const QVariant &value) {
        std::unique_ptr<BCommand> command =
            BCommandFactory::instance()->create(BCommandFactory::EditProp);
        static_cast<BEditPropCommand *>(command.get())->setTarget(label, 0x4001, value);
        command->setModel(&rig.model);
        command->prepare();
        command->execute(0);
        history()->process(std::move(command));
    };

    rig.model.setModified(false);
    edit(10);
    QCOMPARE(history()->undoCount(), 0);
    QVERIFY(!rig.model.isModified());
    edit(20);
    QCOMPARE(history()->undoCount(), 1);
    QCOMPARE(title->bounds().x(), 20.0);
    QCOMPARE(history()->undoAt(0)->description(), QStringLiteral("Edit: 10"));
    QCOMPARE(selection(rig), QList<CControl *>{title});
    roundTrip(rig, before);
    history()->undo();
    QCOMPARE(history()->redoAt(0)->description(), QStringLiteral("Edit: 20"));
    QCOMPARE(title->bounds().x(), 10.0);

    // A control removed for good behind the edit's back is left alone.
    history()->redo();
    rig.model.removeControl(title, true);
    history()->undo();
    QCOMPARE(history()->redoCount(), 1);
}

// A command deletes the controls it owns when it is deleted, and never one
// that is back in the document or was deleted elsewhere.
void TestEditCommands::ownedControlsDieWithTheirCommand()
{
    Rig rig;
    CControl *title = rig.panel()->childAt(1);
    title->setSelected(1);
    rig.edit(BCommandFactory::EditCopy);
    rig.edit(BCommandFactory::EditPaste); // undone below: owns the pasted control
    QPointer<QObject> pasted = watch(rig.panel()->childAt(2));
    rig.model.clearSelection();
    title->setSelected(1);
    rig.edit(BCommandFactory::EditCut); // done: owns the title
    QPointer<QObject> cut = watch(title);
    rig.bridge()->dropControl(QStringLiteral("Label"), QStringLiteral("0"), 10, 10);
    CControl *label = rig.panel()->childAt(rig.panel()->childCount() - 1);
    // Deleted behind the drop's back: undoing the drop must not touch it.
    rig.model.removeControl(label, true);
    history()->undo();
    history()->undo();
    history()->undo();
    QCOMPARE(history()->redoCount(), 3);
    flushDeletes();
    QVERIFY(pasted && cut);

    // A new drop empties the redo list: the undone paste takes its control
    // along, the undone cut gave the title back to the panel.
    rig.bridge()->dropControl(QStringLiteral("Frame"), QStringLiteral("0"), 10, 10);
    flushDeletes();
    QVERIFY(!pasted);
    QVERIFY(cut);
    QVERIFY(rig.panel()->contains(title));

    // Done again and cleared: the cut title goes with the cut.
    rig.model.clearSelection();
    title->setSelected(1);
    rig.edit(BCommandFactory::EditCut);
    history()->clear();
    flushDeletes();
    QVERIFY(!cut);
}

// An undone drop owns a control bound to a design node nothing else marks;
// importing a design drops such nodes, so the history lets go of it first.
void TestEditCommands::undoneDropBeforeDesignImport()
{
    Rig rig;
    HNode *mics = rig.node(QStringLiteral("Table Mics"));
    QVERIFY(mics);
    const int before = rig.panel()->childCount();
    rig.bridge()->dropControl(QStringLiteral("Mute"), Rig::payload(mics), 20, 20);
    QCOMPARE(history()->undoCount(), 1);
    history()->undo();
    QCOMPARE(history()->redoCount(), 1);
    QVERIFY(rig.model.loadDesign(Design));
    QCOMPARE(history()->redoCount(), 0);
    QCOMPARE(history()->undoCount(), 0);
    history()->redo();
    QCOMPARE(rig.panel()->childCount(), before);
}

ZRB_TEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
