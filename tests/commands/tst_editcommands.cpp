#include "common/EditorTestSupport.h"
#include "common/TestControls.h"

#include "app/MModel.h"
#include "commands/BAlignCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "commands/BToolNudgeCommand.h"
#include "commands/BToolSelectCommand.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"
#include "views/VGrid.h"

#include <QApplication>
#include <QQuickItem>
#include <QtTest>

// The arrangement and pointer tool commands on a real model and document,
// driven the way the menus and the canvas drive them, without the canvas:
// plain Qt Quick items stand in for the controls' roots.
namespace {

// Counts the nudges alive, so a long session shows what the history keeps.
class CountedNudge : public BToolNudgeCommand
{
public:
    explicit CountedNudge(int *live) : m_pLive(live) { ++*m_pLive; }
    ~CountedNudge() override { --*m_pLive; }

private:
    int *m_pLive;
};

class CountingSelectTool : public BToolSelectCommand
{
public:
    int live = 0;

protected:
    std::unique_ptr<BCommand> createTool(int code) const override
    {
        if (code == BCommandFactory::ToolNudge)
            return std::make_unique<CountedNudge>(const_cast<int *>(&live));
        return BToolSelectCommand::createTool(code);
    }
};

// "x,y,w,h;..." for the rectangles of a list, the form the tables use.
QString rects(const QList<CControl *> &controls)
{
    QStringList parts;
    for (CControl *control : controls) {
        const QRectF r = control->bounds();
        parts << QStringLiteral("%1,%2,%3,%4")
                     .arg(r.x(), 0, 'g', 6)
                     .arg(r.y(), 0, 'g', 6)
                     .arg(r.width(), 0, 'g', 6)
                     .arg(r.height(), 0, 'g', 6);
    }
    return parts.join(QLatin1Char(';'));
}

QRectF rectFrom(const QString &text)
{
    const QStringList n = text.split(QLatin1Char(','));
    return QRectF(n.value(0).toDouble(), n.value(1).toDouble(), n.value(2).toDouble(),
                  n.value(3).toDouble());
}

} // namespace

class TestEditCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridSnap_data();
    void gridSnap();
    void arrange_data();
    void arrange();
    void stackingOrder_data();
    void stackingOrder();
    void nothingSelectedLeavesNoTrace();
    void selectToolSelects();
    void dragSnapsAndStaysOnCanvas();
    void resizeGivesOneSizeAndUndoesEach();
    void nudgeCancelledByControl();
    void gestureCutShortIsStillRecorded();
    void longSessionKeepsHundred();
    void newDocumentForgetsTheOldOne();

private:
    // Label controls from "x,y,w,h;..." on the current panel; a type word
    // before a rectangle ("bounds:0,0,300,340") gives the item's type.
    QList<CControl *> addControls(const QString &spec);
    QString xml() const;
    // As the menus do: created, given the model, prepared, processed.
    void run(int code, Qt::KeyboardModifiers keys = Qt::NoModifier);
    QString lastEntry() const;
    BCommand *tool() const { return m_pModel->pointerTool(); }

    CCanvas m_canvas;
    MModel *m_pModel = nullptr;
    QQuickItem *m_pRoot = nullptr;
};

void TestEditCommands::init()
{
    USettings().clear();
    // Stands in for the canvas: 300 by 340 gives a pixel scale of 1.
    m_pRoot = new QQuickItem();
    m_pRoot->setSize(QSizeF(300, 340));
    m_pRoot->setProperty("maxControlHeight", 340);
    m_pModel = new MModel();
    m_pModel->setCanvas(&m_canvas);
    m_pModel->initialize();
    m_pModel->setQmlRoot(m_pRoot);
    QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    QCOMPARE(m_pModel->pixelScale(), 1.0);
    QVERIFY(tool());
}

void TestEditCommands::cleanup()
{
    delete m_pModel; // releases the processor and its history
    m_pModel = nullptr;
    delete m_pRoot;
    m_pRoot = nullptr;
}

QList<CControl *> TestEditCommands::addControls(const QString &spec)
{
    QList<CControl *> added;
    for (const QString &part : spec.split(QLatin1Char(';'))) {
        const int colon = part.indexOf(QLatin1Char(':'));
        const QString itemType = colon < 0 ? QString() : part.left(colon);
        const QString name = QStringLiteral("c%1").arg(m_pModel->currentPanel()->childCount());
        CControl *control = TestControls::makeControl(m_pRoot, name, QStringLiteral("Label"),
                                                      rectFrom(part.mid(colon + 1)), itemType);
        m_pModel->addControl(control);
        added << control;
    }
    return added;
}

QString TestEditCommands::xml() const
{
    return TestSupport::writtenXml([this](XmlWriter &writer) { m_pModel->writeDocument(&writer); });
}

void TestEditCommands::run(int code, Qt::KeyboardModifiers keys)
{
    std::unique_ptr<BCommand> command = BCommandFactory::instance()->create(code);
    QVERIFY2(command, qPrintable(QString::number(code, 16)));
    if (auto *align = dynamic_cast<BAlignCommand *>(command.get()))
        align->setKeyModifiers(keys);
    command->setModel(m_pModel);
    command->prepare();
    BCommandProcessor::instance()->process(std::move(command));
}

QString TestEditCommands::lastEntry() const
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    BCommand *last = processor->undoAt(processor->undoCount() - 1);
    return last ? last->text() : QString();
}

void TestEditCommands::gridSnap_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPointF>("snapped");

    QTest::newRow("7 moves 5") << 1.0 << QPointF(7, 7) << QPointF(5, 5);
    QTest::newRow("3 stays") << 1.0 << QPointF(3, -3) << QPointF(0, 0);
    QTest::newRow("-7 moves -5") << 1.0 << QPointF(-7, 12) << QPointF(-5, 10);
    QTest::newRow("scale 2") << 2.0 << QPointF(23, 9.5) << QPointF(20, 0);
    QTest::newRow("scale 1.5") << 1.5 << QPointF(8, 15.5) << QPointF(7.5, 15);
    QTest::newRow("no scale leaves it") << 0.0 << QPointF(7, 3) << QPointF(7, 3);
}

void TestEditCommands::gridSnap()
{
    QFETCH(double, scale);
    QFETCH(QPointF, point);
    QFETCH(QPointF, snapped);
    QCOMPARE(VGrid(scale).snap(point), snapped);
}

void TestEditCommands::arrange_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    using F = BCommandFactory;
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    // clang-format off
    QTest::newRow("left") << int(F::AlignLeft) << none
        << "10,0,20,10;40,20,20,10;25,40,20,10" << "10,0,20,10;10,20,20,10;10,40,20,10";
    QTest::newRow("right edges at 150") << int(F::AlignRight) << none
        << "0,0,20,10;100,20,50,10" << "130,0,20,10;100,20,50,10";
    QTest::newRow("top") << int(F::AlignTop) << none
        << "0,30,20,10;40,5,20,40" << "0,5,20,10;40,5,20,40";
    QTest::newRow("bottom") << int(F::AlignBottom) << none
        << "0,30,20,10;40,5,20,40" << "0,35,20,10;40,5,20,40";
    QTest::newRow("horizontal centres") << int(F::AlignHCenter) << none
        << "0,0,20,10;80,20,40,10" << "50,0,20,10;40,20,40,10";
    QTest::newRow("shift centres the block on the canvas") << int(F::AlignHCenter) << int(Qt::ShiftModifier | Qt::ControlModifier)
        << "10,0,20,10;50,20,20,10" << "120,0,20,10;160,20,20,10";
    QTest::newRow("vertical centres") << int(F::AlignVCenter) << none
        << "0,0,20,10;40,30,20,30" << "0,25,20,10;40,15,20,30";
    QTest::newRow("exactly shift centres on the canvas") << int(F::AlignVCenter) << shift
        << "0,0,20,10;40,30,20,30" << "0,140,20,10;40,170,20,30";
    QTest::newRow("shift and control centre each") << int(F::AlignVCenter) << int(Qt::ShiftModifier | Qt::ControlModifier)
        << "0,0,20,10;40,30,20,30" << "0,25,20,10;40,15,20,30";
    QTest::newRow("a bounds control is the reference") << int(F::AlignRight) << none
        << "bounds:0,0,300,340;40,40,20,20" << "0,0,300,340;280,40,20,20";
    QTest::newRow("a single control stays") << int(F::AlignLeft) << none
        << "40,20,20,10" << "40,20,20,10";
    QTest::newRow("a single control centred on the canvas") << int(F::AlignHCenter) << shift
        << "40,20,20,10" << "140,20,20,10";
    QTest::newRow("distribute centres 0 10 100") << int(F::LayoutSpaceAcross) << none
        << "-5,0,10,10;5,0,10,10;95,0,10,10" << "-5,0,10,10;45,0,10,10;95,0,10,10";
    QTest::newRow("distribute four") << int(F::LayoutSpaceAcross) << none
        << "-5,0,10,10;-4,0,10,10;-3,0,10,10;85,0,10,10" << "-5,0,10,10;25,0,10,10;55,0,10,10;85,0,10,10";
    QTest::newRow("equal centres keep their order") << int(F::LayoutSpaceAcross) << none
        << "0,0,10,10;45,0,10,10;45,9,10,10;90,0,10,10" << "0,0,10,10;30,0,10,10;60,9,10,10;90,0,10,10";
    QTest::newRow("distribute down, unsorted") << int(F::LayoutSpaceDown) << none
        << "0,100,10,20;0,0,10,20;0,10,10,20" << "0,100,10,20;0,0,10,20;0,50,10,20";
    QTest::newRow("distribute two moves nothing") << int(F::LayoutSpaceDown) << none
        << "0,100,10,20;0,0,10,20" << "0,100,10,20;0,0,10,20";
    // clang-format on
}

// Each is one undo step, and undo and redo give back the same document.
void TestEditCommands::arrange()
{
    QFETCH(int, code);
    QFETCH(int, keys);
    QFETCH(QString, before);
    QFETCH(QString, after);

    const QList<CControl *> controls = addControls(before);
    for (CControl *control : controls)
        control->setSelected(1);
    const QString xmlBefore = xml();
    run(code, Qt::KeyboardModifiers(keys));
    QCOMPARE(rects(controls), after);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 1);
    QCOMPARE(BCommandProcessor::instance()->undoAt(0)->id(), code);
    const QString xmlAfter = xml();

    BCommandProcessor::instance()->undo();
    QCOMPARE(xml(), xmlBefore);
    BCommandProcessor::instance()->redo();
    QCOMPARE(xml(), xmlAfter);
    QCOMPARE(rects(controls), after);
}

void TestEditCommands::stackingOrder_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("order");

    // The panel holds Bounds and Title, then c2 to c5.
    using F = BCommandFactory;
    QTest::newRow("front") << int(F::LayoutFront) << "c2,c4" << "Bounds,Title,c3,c5,c2,c4";
    QTest::newRow("back, the last listed lowest") << int(F::LayoutBack) << "c4,c5"
                                                  << "Bounds,c5,c4,Title,c2,c3";
    QTest::newRow("back lifts the first child to 1") << int(F::LayoutBack) << "Bounds"
                                                     << "Title,Bounds,c2,c3,c4,c5";
    QTest::newRow("forward") << int(F::LayoutForward) << "c3" << "Bounds,Title,c2,c4,c3,c5";
    QTest::newRow("forward of the top-most") << int(F::LayoutForward) << "c5"
                                             << "Bounds,Title,c2,c3,c4,c5";
    QTest::newRow("backward") << int(F::LayoutBackward) << "c2,c4" << "Bounds,c2,Title,c4,c3,c5";
    QTest::newRow("backward of the lowest") << int(F::LayoutBackward) << "Bounds"
                                            << "Bounds,Title,c2,c3,c4,c5";
}

void TestEditCommands::stackingOrder()
{
    QFETCH(int, code);
    QFETCH(QString, selected);
    QFETCH(QString, order);

    addControls(QStringLiteral("0,0,10,10;0,0,10,10;0,0,10,10;0,0,10,10"));
    CComposite *panel = m_pModel->currentPanel();
    auto names = [panel]() {
        QStringList shown;
        for (CControl *child : panel->children())
            shown << child->name();
        return shown.join(QLatin1Char(','));
    };
    const QString original = names();
    for (CControl *child : panel->children()) {
        if (selected.split(QLatin1Char(',')).contains(child->name()))
            child->setSelected(1);
    }
    const QString xmlBefore = xml();
    run(code);
    QCOMPARE(names(), order);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 1);

    // Undo puts every child back, however the moves interleaved.
    BCommandProcessor::instance()->undo();
    QCOMPARE(names(), original);
    QCOMPARE(xml(), xmlBefore);
    BCommandProcessor::instance()->redo();
    QCOMPARE(names(), order);
}

void TestEditCommands::nothingSelectedLeavesNoTrace()
{
    addControls(QStringLiteral("10,10,20,20;40,40,20,20"));
    BCommandProcessor *processor = BCommandProcessor::instance();
    // One step waiting to be redone must stay so.
    m_pModel->currentPanel()->childAt(2)->setSelected(1);
    run(BCommandFactory::AlignRight);
    processor->undo();
    m_pModel->clearSelection();
    m_pModel->setModified(false);
    const QString before = xml();
    for (int code = BCommandFactory::LayoutFront; code <= BCommandFactory::LayoutSpaceDown; ++code)
        run(code);
    QCOMPARE(processor->undoCount(), 0);
    QCOMPARE(processor->redoCount(), 1);
    QVERIFY(!m_pModel->isModified());
    QCOMPARE(xml(), before);
}

void TestEditCommands::selectToolSelects()
{
    const QList<CControl *> c = addControls(QStringLiteral("0,0,10,10;20,0,10,10;40,0,10,10"));
    auto *select = static_cast<BToolSelectCommand *>(tool());
    auto click = [select](CControl *control, Qt::KeyboardModifiers keys) {
        select->setModifiers(keys);
        select->selectControl(control);
        select->execute(0);
    };
    click(c[0], Qt::NoModifier);
    click(c[1], Qt::ShiftModifier);
    QCOMPARE(select->selection(), (QList<CControl *>{c[0], c[1]}));
    // A plain click on a selected control keeps the selection for a drag.
    click(c[1], Qt::NoModifier);
    QCOMPARE(select->selection(), (QList<CControl *>{c[0], c[1]}));
    click(c[2], Qt::ControlModifier);
    QCOMPARE(select->selection(), QList<CControl *>{c[2]});

    // A control the document deleted is never reached through the selection.
    click(c[0], Qt::ShiftModifier);
    m_pModel->removeControl(c[0], true);
    QCOMPARE(select->selection(), QList<CControl *>{c[2]});
    click(c[1], Qt::NoModifier);
    QCOMPARE(select->selection(), QList<CControl *>{c[1]});

    select->execute(1);
    QVERIFY(select->selection().isEmpty());
    click(c[1], Qt::NoModifier);
    m_pModel->setEditMode(false);
    QVERIFY(select->selection().isEmpty());
    QCOMPARE(c[1]->selectionState(), 0);
}

// Drag events carry the move since the last event, as the overlay sends them.
void TestEditCommands::dragSnapsAndStaysOnCanvas()
{
    const QList<CControl *> c = addControls(QStringLiteral("100,100,20,20;140,100,20,20"));
    c[0]->setSelected(1);
    c[1]->setSelected(1);
    const QString before = xml();
    m_pModel->setModified(false);
    const int drag = BCommandFactory::ToolDrag;

    // A click alone is no edit.
    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureStarted);
    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureFinished);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 0);
    QVERIFY(!m_pModel->isModified());

    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureStarted);
    tool()->pointerEvent(7, 3, -1, drag, Qt::GestureUpdated);
    QCOMPARE(rects(c), QStringLiteral("105,100,20,20;145,100,20,20"));
    tool()->pointerEvent(-7, 12, -1, drag, Qt::GestureUpdated);
    QCOMPARE(rects(c), QStringLiteral("100,110,20,20;140,110,20,20"));
    // Wholly off the canvas is refused; partly off is allowed.
    tool()->pointerEvent(-500, 0, -1, drag, Qt::GestureUpdated);
    tool()->pointerEvent(-140, 0, -1, drag, Qt::GestureUpdated);
    QCOMPARE(rects(c), QStringLiteral("-40,110,20,20;0,110,20,20"));
    tool()->pointerEvent(4, 4, -1, drag, Qt::GestureFinished);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 1);
    QCOMPARE(lastEntry(), QStringLiteral("Drag"));
    QVERIFY(m_pModel->isModified());

    const QString after = xml();
    BCommandProcessor::instance()->undo();
    QCOMPARE(xml(), before);
    BCommandProcessor::instance()->redo();
    QCOMPARE(xml(), after);
}

void TestEditCommands::resizeGivesOneSizeAndUndoesEach()
{
    const QList<CControl *> c = addControls(QStringLiteral("0,0,20,10;0,20,40,10;0,40,60,10"));
    for (CControl *control : c)
        control->setSelected(1);
    const QString before = xml();
    const int resize = BCommandFactory::ToolResize;

    tool()->pointerEvent(0, 0, Qt::RightEdge, resize, Qt::GestureStarted);
    tool()->pointerEvent(12, 0, Qt::RightEdge, resize, Qt::GestureUpdated);
    tool()->pointerEvent(0, 0, Qt::RightEdge, resize, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("0,0,30,10;0,20,30,10;0,40,30,10"));
    // The next control of the type starts at the first one's size.
    QCOMPARE(USettings().value(QStringLiteral("Layout/Label")).toString(), QStringLiteral("30x10"));
    const QString after = xml();
    BCommandProcessor::instance()->undo();
    QCOMPARE(rects(c), QStringLiteral("0,0,20,10;0,20,40,10;0,40,60,10"));
    QCOMPARE(xml(), before);
    BCommandProcessor::instance()->redo();
    QCOMPARE(xml(), after);

    // No narrower than one grid step, whatever the pointer does.
    tool()->pointerEvent(0, 0, Qt::RightEdge, resize, Qt::GestureStarted);
    tool()->pointerEvent(-100, 0, Qt::RightEdge, resize, Qt::GestureUpdated);
    tool()->pointerEvent(0, 0, Qt::RightEdge, resize, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("0,0,5,10;0,20,5,10;0,40,5,10"));
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 2);
    QCOMPARE(lastEntry(), QStringLiteral("Resize"));
}

void TestEditCommands::nudgeCancelledByControl()
{
    const QList<CControl *> c = addControls(QStringLiteral("50,50,20,20"));
    c[0]->setSelected(1);
    const int nudge = BCommandFactory::ToolNudge;
    // Control+Left belongs to Align Left: no move, no step.
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, false, Qt::GestureStarted);
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, false, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("50,50,20,20"));
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 0);

    // Control pressed halfway stops the keys; what moved before stays undoable.
    const QString before = xml();
    tool()->keyEvent(Qt::Key_Left, Qt::NoModifier, nudge, false, Qt::GestureStarted);
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, true, Qt::GestureStarted);
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, false, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("45,50,20,20"));
    QCOMPARE(lastEntry(), QStringLiteral("Nudge"));
    BCommandProcessor::instance()->undo();
    QCOMPARE(xml(), before);
}

// A gesture whose end never comes (a press on empty canvas, another gesture)
// ends where it stands: recorded, and no later event reaches it.
void TestEditCommands::gestureCutShortIsStillRecorded()
{
    const QList<CControl *> c = addControls(QStringLiteral("50,50,20,20"));
    c[0]->setSelected(1);
    const QString before = xml();
    tool()->pointerEvent(0, 0, -1, BCommandFactory::ToolDrag, Qt::GestureStarted);
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureUpdated);
    tool()->keyEvent(Qt::Key_Down, Qt::ShiftModifier, BCommandFactory::ToolNudge, false,
                     Qt::GestureStarted);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 1);
    m_pModel->resetPointerTool();
    QVERIFY(!static_cast<BToolSelectCommand *>(tool())->activeTool());
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 2);
    QCOMPARE(rects(c), QStringLiteral("60,51,20,20"));
    BCommandProcessor::instance()->undo(1);
    QCOMPARE(xml(), before);
}

// Thousands of nudges keep a hundred steps alive, each exact.
void TestEditCommands::longSessionKeepsHundred()
{
    const QList<CControl *> c = addControls(QStringLiteral("150,150,20,20"));
    c[0]->setSelected(1);
    CountingSelectTool select;
    select.setModel(m_pModel);
    select.prepare();
    const int gestures = 5000;
    QString kept;
    for (int i = 0; i < gestures; ++i) {
        if (i == gestures - BCommandProcessor::MaxHistory)
            kept = xml();
        const int key = i % 2 ? Qt::Key_Left : Qt::Key_Up;
        select.keyEvent(key, Qt::ShiftModifier, BCommandFactory::ToolNudge, false, Qt::GestureStarted);
        select.keyEvent(key, Qt::ShiftModifier, BCommandFactory::ToolNudge, true, Qt::GestureStarted);
        select.keyEvent(key, Qt::ShiftModifier, BCommandFactory::ToolNudge, false, Qt::GestureFinished);
    }
    QCOMPARE(rects(c), QStringLiteral("-4850,-4850,20,20"));
    BCommandProcessor *processor = BCommandProcessor::instance();
    QCOMPARE(processor->undoCount(), BCommandProcessor::MaxHistory);
    QCOMPARE(select.live, BCommandProcessor::MaxHistory);
    const QString last = xml();
    processor->undo(BCommandProcessor::MaxHistory);
    QCOMPARE(xml(), kept);
    QCOMPARE(processor->undoCount(), 0);
    processor->redo(BCommandProcessor::MaxHistory);
    QCOMPARE(xml(), last);
    QCOMPARE(select.live, BCommandProcessor::MaxHistory);
    processor->clear();
    QCOMPARE(select.live, 0);
}

// The steps and the gesture name controls of the tree a new document replaces.
void TestEditCommands::newDocumentForgetsTheOldOne()
{
    addControls(QStringLiteral("50,50,20,20")).first()->setSelected(1);
    run(BCommandFactory::AlignLeft);
    tool()->pointerEvent(0, 0, -1, BCommandFactory::ToolDrag, Qt::GestureStarted);
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureUpdated);
    QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 0);
    QVERIFY(!static_cast<BToolSelectCommand *>(tool())->activeTool());
    const QString fresh = xml();
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureFinished);
    BCommandProcessor::instance()->undo();
    QCOMPARE(xml(), fresh);
}

ZRB_TEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
