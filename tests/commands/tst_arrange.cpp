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
#include "document/io/XmlWriter.h"

#include <QApplication>
#include <QQuickItem>
#include <QtTest>

// The arrangement and pointer tool commands on a real model and document,
// driven as the menus and the canvas drive them; plain Qt Quick items stand
// in for the controls' roots.
namespace {

// Counts the nudges alive, so a long session shows what the history keeps.
struct CountedNudge : BToolNudgeCommand
{
    explicit CountedNudge(int *live) : live(live) { ++*live; }
    ~CountedNudge() override { --*live; }
    int *live;
};

struct CountingSelectTool : BToolSelectCommand
{
    mutable int live = 0;
    std::unique_ptr<BCommand> createTool(int code) const override
    {
        if (code == BCommandFactory::ToolNudge)
            return std::make_unique<CountedNudge>(&live);
        return BToolSelectCommand::createTool(code);
    }
};

// "x,y,w,h;..." for the controls' rectangles, the form the tables use.
QString rects(const QList<CControl *> &controls)
{
    QStringList parts;
    for (CControl *control : controls) {
        const QRectF r = control->bounds();
        parts << QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return parts.join(QLatin1Char(';'));
}

BCommandProcessor *history()
{
    return BCommandProcessor::instance();
}

} // namespace

class TestArrange : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void arrange_data();
    void arrange();
    void stackingOrder_data();
    void stackingOrder();
    void nothingSelectedLeavesNoTrace();
    void selectToolSelects();
    void dragStaysOnCanvas();
    void nudgeStoppedByControl();
    void gestureCutShortIsRecorded();
    void longSessionKeepsHundred();
    void newDocumentForgetsTheOldOne();

private:
    // Label controls on the current panel from "x,y,w,h;..."; "bounds:" before
    // a rectangle makes its item a panel's bounds.
    QList<CControl *> add(const QString &rectangles);
    QString xml() const;
    // As the menus do: created, given the model, prepared, processed.
    void run(int code, Qt::KeyboardModifiers keys = Qt::NoModifier);
    BCommand *tool() const { return m_pModel->pointerTool(); }

    CCanvas m_canvas;
    MModel *m_pModel = nullptr;
    QQuickItem *m_pRoot = nullptr;
};

void TestArrange::init()
{
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
}

void TestArrange::cleanup()
{
    delete m_pModel; // and the history with it
    delete m_pRoot;
}

QList<CControl *> TestArrange::add(const QString &rectangles)
{
    QList<CControl *> added;
    for (QString part : rectangles.split(QLatin1Char(';'))) {
        const bool bounds = part.startsWith(QLatin1String("bounds:"));
        const QStringList n = part.remove(QStringLiteral("bounds:")).split(QLatin1Char(','));
        const QRectF rect(n.value(0).toDouble(), n.value(1).toDouble(), n.value(2).toDouble(),
                          n.value(3).toDouble());
        const QString name = QStringLiteral("c%1").arg(m_pModel->currentPanel()->childCount());
        added << TestControls::makeControl(m_pRoot, name, QStringLiteral("Label"), rect,
                                           bounds ? QStringLiteral("bounds") : QString());
        m_pModel->addControl(added.last());
    }
    return added;
}

QString TestArrange::xml() const
{
    return TestSupport::writtenXml([this](XmlWriter &writer) { m_pModel->writeDocument(&writer); });
}

void TestArrange::run(int code, Qt::KeyboardModifiers keys)
{
    std::unique_ptr<BCommand> command = BCommandFactory::instance()->create(code);
    QVERIFY2(command, qPrintable(QString::number(code, 16)));
    if (auto *align = dynamic_cast<BAlignCommand *>(command.get()))
        align->setKeyModifiers(keys);
    command->setModel(m_pModel);
    command->prepare();
    history()->process(std::move(command));
}

void TestArrange::arrange_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    using F = BCommandFactory;
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int shiftControl = Qt::ShiftModifier | Qt::ControlModifier;
    // clang-format off
    QTest::newRow("left") << int(F::AlignLeft) << none
        << "10,0,20,10;40,20,20,10;25,40,20,10" << "10,0,20,10;10,20,20,10;10,40,20,10";
    QTest::newRow("right edges at 150") << int(F::AlignRight) << none
        << "0,0,20,10;100,20,50,10" << "130,0,20,10;100,20,50,10";
    QTest::newRow("bottom") << int(F::AlignBottom) << none
        << "0,30,20,10;40,5,20,40" << "0,35,20,10;40,5,20,40";
    QTest::newRow("centres on the selection") << int(F::AlignHCenter) << none
        << "0,0,20,10;80,20,40,10" << "50,0,20,10;40,20,40,10";
    QTest::newRow("shift: the block on the canvas") << int(F::AlignHCenter) << shiftControl
        << "10,0,20,10;50,20,20,10" << "120,0,20,10;160,20,20,10";
    QTest::newRow("exactly shift: on the canvas") << int(F::AlignVCenter) << shift
        << "0,0,20,10;40,30,20,30" << "0,140,20,10;40,170,20,30";
    QTest::newRow("shift and control: each") << int(F::AlignVCenter) << shiftControl
        << "0,0,20,10;40,30,20,30" << "0,25,20,10;40,15,20,30";
    QTest::newRow("bounds are the reference") << int(F::AlignRight) << none
        << "bounds:0,0,300,340;40,40,20,20" << "0,0,300,340;280,40,20,20";
    QTest::newRow("single control stays") << int(F::AlignLeft) << none
        << "40,20,20,10" << "40,20,20,10";
    QTest::newRow("single control centred") << int(F::AlignHCenter) << shift
        << "40,20,20,10" << "140,20,20,10";
    QTest::newRow("spread 0 10 100") << int(F::LayoutSpaceAcross) << none
        << "-5,0,10,10;5,0,10,10;95,0,10,10" << "-5,0,10,10;45,0,10,10;95,0,10,10";
    QTest::newRow("spread 0 1 2 90") << int(F::LayoutSpaceAcross) << none
        << "-5,0,10,10;-4,0,10,10;-3,0,10,10;85,0,10,10"
        << "-5,0,10,10;25,0,10,10;55,0,10,10;85,0,10,10";
    QTest::newRow("equal centres keep order") << int(F::LayoutSpaceAcross) << none
        << "0,0,10,10;45,0,10,10;45,9,10,10;90,0,10,10"
        << "0,0,10,10;30,0,10,10;60,9,10,10;90,0,10,10";
    QTest::newRow("spread down, unsorted") << int(F::LayoutSpaceDown) << none
        << "0,100,10,20;0,0,10,20;0,10,10,20" << "0,100,10,20;0,0,10,20;0,50,10,20";
    QTest::newRow("spread two: nothing") << int(F::LayoutSpaceDown) << none
        << "0,100,10,20;0,0,10,20" << "0,100,10,20;0,0,10,20";
    // clang-format on
}

// Each is one undo step, and undo and redo give back the same file.
void TestArrange::arrange()
{
    QFETCH(int, code);
    QFETCH(int, keys);
    QFETCH(QString, before);
    QFETCH(QString, after);

    const QList<CControl *> controls = add(before);
    for (CControl *control : controls)
        control->setSelected(1);
    const QString xmlBefore = xml();
    run(code, Qt::KeyboardModifiers(keys));
    QCOMPARE(rects(controls), after);
    QCOMPARE(history()->undoCount(), 1);
    QCOMPARE(history()->undoAt(0)->id(), code);
    const QString xmlAfter = xml();
    history()->undo();
    QCOMPARE(xml(), xmlBefore);
    history()->redo();
    QCOMPARE(xml(), xmlAfter);
}

void TestArrange::stackingOrder_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("order");

    // The panel holds Bounds and Title, then c2 to c5.
    using F = BCommandFactory;
    // clang-format off
    QTest::newRow("front") << int(F::LayoutFront) << "c2,c4" << "Bounds,Title,c3,c5,c2,c4";
    QTest::newRow("back, last low") << int(F::LayoutBack) << "c4,c5" << "Bounds,c5,c4,Title,c2,c3";
    QTest::newRow("back, first") << int(F::LayoutBack) << "Bounds" << "Title,Bounds,c2,c3,c4,c5";
    QTest::newRow("forward") << int(F::LayoutForward) << "c3" << "Bounds,Title,c2,c4,c3,c5";
    QTest::newRow("forward, top") << int(F::LayoutForward) << "c5" << "Bounds,Title,c2,c3,c4,c5";
    QTest::newRow("backward") << int(F::LayoutBackward) << "c2,c4" << "Bounds,c2,Title,c4,c3,c5";
    QTest::newRow("backward 0") << int(F::LayoutBackward) << "Bounds" << "Bounds,Title,c2,c3,c4,c5";
    // clang-format on
}

// Undo puts every child back, however the moves interleaved.
void TestArrange::stackingOrder()
{
    QFETCH(int, code);
    QFETCH(QString, selected);
    QFETCH(QString, order);

    add(QStringLiteral("0,0,10,10;0,0,10,10;0,0,10,10;0,0,10,10"));
    CComposite *panel = m_pModel->currentPanel();
    auto names = [panel]() {
        QStringList shown;
        for (CControl *child : panel->children())
            shown << child->name();
        return shown.join(QLatin1Char(','));
    };
    for (CControl *child : panel->children())
        child->setSelected(selected.split(QLatin1Char(',')).contains(child->name()) ? 1 : 0);
    const QString original = names();
    run(code);
    QCOMPARE(names(), order);
    QCOMPARE(history()->undoCount(), 1);
    history()->undo();
    QCOMPARE(names(), original);
    history()->redo();
    QCOMPARE(names(), order);
}

void TestArrange::nothingSelectedLeavesNoTrace()
{
    add(QStringLiteral("10,10,20,20;40,40,20,20")).first()->setSelected(1);
    run(BCommandFactory::AlignRight);
    history()->undo(); // a step waiting to be redone must stay so
    m_pModel->clearSelection();
    m_pModel->setModified(false);
    const QString before = xml();
    for (int code = BCommandFactory::LayoutFront; code <= BCommandFactory::LayoutSpaceDown; ++code)
        run(code);
    QCOMPARE(history()->undoCount(), 0);
    QCOMPARE(history()->redoCount(), 1);
    QVERIFY(!m_pModel->isModified());
    QCOMPARE(xml(), before);
}

// Control-click selects only the control; a control the document deleted
// is never reached through the selection.
void TestArrange::selectToolSelects()
{
    const QList<CControl *> c = add(QStringLiteral("0,0,10,10;20,0,10,10;40,0,10,10"));
    auto *select = static_cast<BToolSelectCommand *>(tool());
    for (int i : {0, 1, 2}) {
        select->setModifiers(i == 2 ? Qt::ControlModifier : Qt::ShiftModifier);
        select->selectControl(c[i]);
        if (i == 1)
            m_pModel->removeControl(c[0], true);
    }
    QCOMPARE(select->selection(), QList<CControl *>{c[2]});
    QCOMPARE(c[1]->selectionState(), 0);
    m_pModel->setEditMode(false);
    QVERIFY(select->selection().isEmpty());
}

void TestArrange::dragStaysOnCanvas()
{
    const QList<CControl *> c = add(QStringLiteral("100,100,20,20;140,100,20,20"));
    c[0]->setSelected(1);
    c[1]->setSelected(1);
    m_pModel->setModified(false);
    const int drag = BCommandFactory::ToolDrag;
    // A click alone is no edit.
    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureStarted);
    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureFinished);
    QCOMPARE(history()->undoCount(), 0);
    QVERIFY(!m_pModel->isModified());

    // Wholly off the canvas is refused, partly off allowed; 3 rounds to 0.
    tool()->pointerEvent(0, 0, -1, drag, Qt::GestureStarted);
    tool()->pointerEvent(-500, 3, -1, drag, Qt::GestureUpdated);
    tool()->pointerEvent(-130, 3, -1, drag, Qt::GestureUpdated);
    tool()->pointerEvent(-7, 0, -1, drag, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("-35,100,20,20;5,100,20,20"));
    QCOMPARE(history()->undoCount(), 1);
    QVERIFY(m_pModel->isModified());
}

void TestArrange::nudgeStoppedByControl()
{
    const QList<CControl *> c = add(QStringLiteral("50,50,20,20"));
    c[0]->setSelected(1);
    const QString before = xml();
    // Control pressed halfway stops the keys; what moved before stays undoable.
    const int nudge = BCommandFactory::ToolNudge;
    tool()->keyEvent(Qt::Key_Left, Qt::NoModifier, nudge, false, Qt::GestureStarted);
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, true, Qt::GestureStarted);
    tool()->keyEvent(Qt::Key_Left, Qt::ControlModifier, nudge, false, Qt::GestureFinished);
    QCOMPARE(rects(c), QStringLiteral("45,50,20,20"));
    QCOMPARE(history()->undoCount(), 1);
    history()->undo();
    QCOMPARE(xml(), before);
}

// A gesture whose end never comes (a press on empty canvas, another gesture)
// ends where it stands: recorded, and no later event reaches it.
void TestArrange::gestureCutShortIsRecorded()
{
    const QList<CControl *> c = add(QStringLiteral("50,50,20,20"));
    c[0]->setSelected(1);
    const QString before = xml();
    tool()->pointerEvent(0, 0, -1, BCommandFactory::ToolDrag, Qt::GestureStarted);
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureUpdated);
    tool()->keyEvent(Qt::Key_Down, Qt::ShiftModifier, BCommandFactory::ToolNudge, false,
                     Qt::GestureStarted);
    QCOMPARE(history()->undoCount(), 1);
    m_pModel->resetPointerTool();
    QVERIFY(!static_cast<BToolSelectCommand *>(tool())->activeTool());
    QCOMPARE(history()->undoCount(), 2);
    QCOMPARE(rects(c), QStringLiteral("60,51,20,20"));
    history()->undo(1);
    QCOMPARE(xml(), before);
}

// Thousands of nudges keep a hundred steps alive, each exact.
void TestArrange::longSessionKeepsHundred()
{
    const QList<CControl *> c = add(QStringLiteral("150,150,20,20"));
    c[0]->setSelected(1);
    CountingSelectTool select;
    select.setModel(m_pModel);
    const int hundred = BCommandProcessor::MaxHistory;
    QString kept;
    for (int i = 0; i < 5000; ++i) {
        if (i == 5000 - hundred)
            kept = xml();
        const int key = i % 2 ? Qt::Key_Left : Qt::Key_Up;
        for (bool repeat : {false, true})
            select.keyEvent(key, Qt::ShiftModifier, BCommandFactory::ToolNudge, repeat,
                            Qt::GestureStarted);
        select.keyEvent(key, Qt::ShiftModifier, BCommandFactory::ToolNudge, false,
                        Qt::GestureFinished);
    }
    QCOMPARE(rects(c), QStringLiteral("-4850,-4850,20,20"));
    QCOMPARE(history()->undoCount(), hundred);
    QCOMPARE(select.live, hundred);
    const QString last = xml();
    history()->undo(hundred);
    QCOMPARE(xml(), kept);
    history()->redo(hundred);
    QCOMPARE(xml(), last);
    history()->clear();
    QCOMPARE(select.live, 0);
}

// The steps and the gesture name controls of the tree a new document replaces.
void TestArrange::newDocumentForgetsTheOldOne()
{
    add(QStringLiteral("50,50,20,20")).first()->setSelected(1);
    run(BCommandFactory::AlignLeft);
    tool()->pointerEvent(0, 0, -1, BCommandFactory::ToolDrag, Qt::GestureStarted);
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureUpdated);
    QVERIFY(m_pModel->newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl")));
    QCOMPARE(history()->undoCount(), 0);
    QVERIFY(!static_cast<BToolSelectCommand *>(tool())->activeTool());
    const QString fresh = xml();
    tool()->pointerEvent(10, 0, -1, BCommandFactory::ToolDrag, Qt::GestureFinished);
    history()->undo();
    QCOMPARE(xml(), fresh);
}

ZRB_TEST_MAIN(TestArrange)
#include "tst_arrange.moc"
