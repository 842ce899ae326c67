#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "commands/BCommandProcessor.h"
#include "controls/MQmlInterface.h"
#include "controls/WDropSite.h"
#include "controls/WPanelLink.h"
#include "design/HNode.h"
#include "document/CComposite.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"
#include "views/KQmlController.h"
#include "views/KTreeController.h"
#include "views/VGrid.h"
#include "views/VQmlFrame.h"
#include "views/VTree.h"

#include <QAction>
#include <QApplication>
#include <QQuickItem>
#include <QTimer>
#include <QtTest>

namespace {

// The row reached by following the texts down from the top.
QModelIndex row(const QAbstractItemModel *model, const QStringList &path)
{
    QModelIndex at;
    for (const QString &text : path) {
        const QModelIndexList found =
            model->match(model->index(0, 0, at), Qt::DisplayRole, text, 1,
                         Qt::MatchExactly | (at.isValid() ? Qt::MatchFlags() : Qt::MatchRecursive));
        if (found.isEmpty())
            return QModelIndex();
        at = found.first();
    }
    return at;
}

const QString SiteControl = QStringLiteral(
    "<ZDX><Controls><Control name=\"Site\" type=\"DropSite\"><Property name=\"widget\"><dropsite>"
    "<x>40</x><y>60</y><width>80</width><height>200</height><type>Slider</type></dropsite>"
    "</Property><Property name=\"attributes\"></Property></Control></Controls></ZDX>");

} // namespace

// The main window as the user has it: rows of the project tree dragged onto
// the canvas with the mouse, and the Edit menu's actions.
class TestDragDrop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dragRowOntoCanvas_data();
    void dragRowOntoCanvas();
    void editMenu();

private:
    QString xml();
    // Presses on the tree row, drags it and lets go over the canvas's control
    // area at point; answers whether the drag ran its course.
    bool drag(const QModelIndex &index, const QPointF &point);

    MModel *m_pModel = nullptr;
    KMainController *m_pController = nullptr;
    RecordingMessageHandler *m_pMessages = nullptr;
    VTree *m_pTree = nullptr;
    VQmlFrame *m_pCanvas = nullptr;
};

void TestDragDrop::init()
{
    USettings().clear();
    m_pMessages = new RecordingMessageHandler;
    m_pModel = new MModel;
    m_pController = new KMainController;
    m_pController->setModel(m_pModel);
    m_pController->setApplication(qApp);
    m_pModel->addController(m_pController);
    QVERIFY(m_pModel->loadDesign(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp")));
    m_pModel->broadcast(KController::DocumentReloaded);
    MainWindow *window = m_pController->mainWindow();
    // Away from the corner where the other display tests open their
    // windows: a drop goes to whatever window is under the pointer.
    window->setGeometry(780, 480, 800, 700);
    window->raise();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *tree = qobject_cast<KTreeController *>(
        m_pModel->controllers()->findController(KController::TreeType));
    auto *canvas = qobject_cast<KQmlController *>(
        m_pModel->controllers()->findController(KController::QmlType));
    QVERIFY(tree && canvas);
    m_pTree = tree->tree();
    m_pCanvas = canvas->frame();
    QVERIFY(QTest::qWaitForWindowExposed(m_pCanvas));
}

void TestDragDrop::cleanup()
{
    delete m_pModel;
    delete m_pMessages;
}

QString TestDragDrop::xml()
{
    return TestSupport::writtenXml([this](XmlWriter &writer) { m_pModel->writeDocument(&writer); });
}

bool TestDragDrop::drag(const QModelIndex &index, const QPointF &point)
{
    QQuickItem *area = m_pCanvas->rootObject()->findChild<QQuickItem *>("controlObject");
    if (!area || !index.isValid())
        return false;
    const QPoint target = area->mapToScene(point).toPoint();
    QWidget *window = m_pController->mainWindow();
    // Only the way to the row is open, and the row is brought to the middle:
    // the tree's page hides its last rows.
    m_pTree->collapseAll();
    for (QModelIndex open = index.parent(); open.isValid(); open = open.parent())
        m_pTree->expand(open);
    m_pTree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    if (!QTest::qWaitFor([&] { return m_pTree->viewport()->visibleRegion().contains(
                                   m_pTree->visualRect(index).center()); }))
        return false;
    const QPoint start = m_pTree->viewport()->mapTo(window, m_pTree->visualRect(index).center());
    const QPoint away(QApplication::startDragDistance() + 2, 0);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(window->windowHandle(), start + away);
    bool released = false;
    // The drag runs its own event loop; the rest of the gesture happens in it.
    QTimer::singleShot(0, this, [&] {
        for (int step = 3; step >= 0; --step) {
            QTest::mouseMove(m_pCanvas, target + QPoint(step, step));
            QTest::qWait(20);
        }
        QTest::mouseRelease(m_pCanvas, Qt::LeftButton, Qt::NoModifier, target);
        released = true;
    });
    QTest::mouseMove(window->windowHandle(), start + 2 * away);
    return QTest::qWaitFor([&] { return released; }, 10000);
}

void TestDragDrop::dragRowOntoCanvas_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("made"); // what the drop is to create
    QTest::newRow("parameter") << QStringList{"Table Mics", "Mute"} << "Button";
    QTest::newRow("graphic") << QStringList{"Graphics", "Image"} << "Image";
    QTest::newRow("link") << QStringList{"Links", "COLLECTION1", "Home"} << "PanelLink";
    QTest::newRow("panel") << QStringList{"Room Tone"} << "Panel";
    QTest::newRow("drop site") << QStringList{"Table Mics", "Level"} << "Slider";
}

void TestDragDrop::dragRowOntoCanvas()
{
    QFETCH(QStringList, path);
    QFETCH(QString, made);

    CComposite *home = m_pModel->currentPanel();
    WDropSite *site = nullptr;
    if (made == "Slider") {
        // A drop site on the panel turns the tree's parameter drags into
        // drops onto sites.
        m_pModel->pasteText(home, SiteControl);
        home->show(true);
        site = qobject_cast<WDropSite *>(home->childAt(2)->items().value(0)->itemObject());
        QVERIFY(site);
    }
    const QString before = xml();
    const int controlsBefore = home->childCount();
    const QPointF point = site ? site->rootGeometry().center() : QPointF(62, 88);

    QVERIFY2(drag(row(m_pTree->model(), path), point), "the drag did not end");

    QCOMPARE(BCommandProcessor::instance()->undoCount(), 1);
    if (!site && made != "Panel")
        QCOMPARE(m_pCanvas->interface()->dropX(), point.x());
    if (made == "Panel") {
        QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Room Tone"));
        QCOMPARE(m_pModel->currentCollection()->childCount(), 2);
    } else {
        QCOMPARE(home->childCount(), controlsBefore + 1);
        CControl *created = home->childAt(controlsBefore);
        QCOMPARE(created->type(), made);
        if (site) {
            QCOMPARE(site->child(), created);
            QCOMPARE(created->bounds(), site->rootGeometry());
        } else {
            // Where the mouse let go, on the grid.
            const QPointF snapped = VGrid(m_pModel->pixelScale()).snap(point);
            QCOMPARE(created->bounds().topLeft(), snapped);
        }
        if (path.first() == "Table Mics")
            QCOMPARE(created->block()->label(), QStringLiteral("Table Mics"));
        if (made == "PanelLink")
            QCOMPARE(qobject_cast<WPanelLink *>(created->items().value(0)->itemObject())->path(),
                     QStringLiteral("..\\COLLECTION1\\Home"));
    }
    const QString after = xml();
    BCommandProcessor::instance()->undo();
    QCOMPARE(xml(), before);
    BCommandProcessor::instance()->redo();
    QCOMPARE(xml(), after);
    QCOMPARE(m_pMessages->count(), 0);
}

void TestDragDrop::editMenu()
{
    const auto action = [this](int code) { return m_pController->action(code); };
    CComposite *home = m_pModel->currentPanel();
    CControl *title = home->childAt(1);
    const QString before = xml();
    QVERIFY(!action(KMainController::CopyAction)->isEnabled());
    title->setSelected(1);

    action(KMainController::CopyAction)->trigger();
    QTRY_VERIFY(action(KMainController::PasteAction)->isEnabled());
    action(KMainController::PasteAction)->trigger();
    QCOMPARE(home->childCount(), 3);
    QVERIFY(action(KMainController::UndoAction)->isEnabled());
    // The pasted control is the selection now: Delete takes it, Cut the title.
    action(KMainController::DeleteAction)->trigger();
    QCOMPARE(home->childCount(), 2);
    title->setSelected(1);
    action(KMainController::CutAction)->trigger();
    QCOMPARE(home->childCount(), 1);
    QCOMPARE(BCommandProcessor::instance()->undoCount(), 3);

    for (int step = 0; step < 3; ++step)
        action(KMainController::UndoAction)->trigger();
    QCOMPARE(xml(), before);
    QVERIFY(!action(KMainController::UndoAction)->isEnabled());
}

ZRB_TEST_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
