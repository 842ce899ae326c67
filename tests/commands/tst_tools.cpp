#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"

#include "app/MModel.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "controls/WRegion.h"
#include "controls/WWidget.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"
#include "views/KQmlController.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QQuickItem>
#include <QWidget>
#include <QtTest>

// The pointer tools as the user reaches them: mouse and keys on the real
// canvas, through the selection overlay and the region's own editing, to the
// model's pointer tool and the undo history.
namespace {

const int Timeout = 20000;

QString controlXml(const QString &type, const QString &item, const QString &values)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n<Control name=\"%1\" "
                          "type=\"%1\">\n<Property name=\"widget\">\n<%2>%3</%2>\n</Property>\n"
                          "<Property name=\"attributes\">\n</Property>\n</Control>\n</Controls>\n"
                          "</ZDX>\n")
        .arg(type, item, values);
}

// The canvas as the main window holds it, its rows taken away so the panel
// fills a control area 340 high: a pixel scale of 1 and a grid of 5.
struct CanvasRig
{
    CCanvas canvas;
    MModel model;
    QWidget window;
    KQmlController *controller = nullptr;

    CanvasRig()
    {
        model.setCanvas(&canvas);
        model.initialize();
        auto *central = new QWidget(&window);
        window.resize(400, 500);
        central->resize(400, 500);
        controller = new KQmlController(&model, central);
        model.addController(controller);
        model.newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl"));
        canvas.setValue(QStringLiteral("topRow"), QStringLiteral("?"));
        canvas.setValue(QStringLiteral("bottomRow"), QStringLiteral("?"));
        emit model.reloadCanvas();
        model.setEditMode(true);
    }

    VQmlFrame *frame() const { return controller->frame(); }

    bool show()
    {
        window.show();
        controller->setGeometry(QRect(0, 0, 300, 340));
        if (!QTest::qWaitForWindowExposed(frame(), Timeout))
            return false;
        return QTest::qWaitFor([this]() { return qFuzzyCompare(model.pixelScale(), 1.0); },
                               Timeout);
    }

    CControl *add(const QString &type, const QString &item, const QString &values)
    {
        CControl *control =
            model.pasteText(model.currentPanel(), controlXml(type, item, values));
        if (control)
            control->show(true);
        return control;
    }

    CControl *addLabel(const QRect &r)
    {
        return add(QStringLiteral("Label"), QStringLiteral("label"),
                   QStringLiteral("<x>%1</x><y>%2</y><width>%3</width><height>%4</height>"
                                  "<text>A</text>")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height()));
    }

    WRegion *addRegion(const QString &polygon, const QPoint &at)
    {
        CControl *control = add(QStringLiteral("Region"), QStringLiteral("region"),
                                QStringLiteral("<x>%1</x><y>%2</y><polygon>%3</polygon>")
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(polygon));
        CItem *item = control ? control->items().value(0) : nullptr;
        return item ? qobject_cast<WRegion *>(item->itemObject()) : nullptr;
    }

    QString xml()
    {
        return TestSupport::writtenXml([this](XmlWriter &writer) { model.writeDocument(&writer); });
    }

    // Where a point of an item lies in the window.
    QPoint at(QQuickItem *item, const QPointF &point) const
    {
        return item->mapToScene(point).toPoint();
    }
};

QQuickItem *rootOf(CControl *control)
{
    auto *widget = qobject_cast<WWidget *>(control->items().value(0)->itemObject());
    return widget ? widget->root() : nullptr;
}

QQuickItem *handle(CControl *control, const QString &name)
{
    auto *widget = qobject_cast<WWidget *>(control->items().value(0)->itemObject());
    return widget && widget->selector() ? widget->selector()->findChild<QQuickItem *>(name)
                                        : nullptr;
}

QString rect(CControl *control)
{
    const QRectF r = control->bounds();
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QStringList history()
{
    QStringList entries;
    BCommandProcessor *processor = BCommandProcessor::instance();
    for (int i = 0; i < processor->undoCount(); ++i)
        entries << processor->undoAt(i)->text();
    return entries;
}

// Undo gives back before, redo after, as the saved file shows them; the
// answer says which did not.
QString roundTrip(CanvasRig &rig, const QString &before)
{
    const QString after = rig.xml();
    BCommandProcessor::instance()->undo();
    const QString undone = rig.xml();
    BCommandProcessor::instance()->redo();
    const QString redone = rig.xml();
    if (undone != before)
        return QStringLiteral("undo gave\n%1\ninstead of\n%2").arg(undone, before);
    if (redone != after)
        return QStringLiteral("redo gave\n%1\ninstead of\n%2").arg(redone, after);
    return QString();
}

} // namespace

class TestTools : public QObject
{
    Q_OBJECT

private slots:
    void init() { USettings().clear(); }

    void dragOnTheGrid();
    void resizeByTheBottomEdge();
    void nudge_data();
    void nudge();
    void regionVertices();
    void regionKeepsThreeVertices();
};

void TestTools::dragOnTheGrid()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    CControl *label = rig.addLabel(QRect(40, 60, 60, 30));
    CControl *other = rig.addLabel(QRect(140, 60, 60, 30));
    QVERIFY(label && other);
    const QString before = rig.xml();

    // A click selects without an undo step.
    const QPoint grip = rig.at(rootOf(label), QPointF(30, 15));
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(label->selectionState(), 1);
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::ShiftModifier,
                      rig.at(rootOf(other), QPointF(30, 15)));
    QCOMPARE(label->selectionState(), 1);
    QCOMPARE(other->selectionState(), 1);
    QVERIFY(history().isEmpty());

    // Several moves, one step; each control by the same snapped offset.
    QTest::mousePress(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(rig.frame(), grip + QPoint(6 * i, 3 * i));
    QTest::mouseRelease(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip + QPoint(24, 12));
    QCOMPARE(rect(label), QStringLiteral("60,70,60,30"));
    QCOMPARE(rect(other), QStringLiteral("160,70,60,30"));
    QCOMPARE(history(), QStringList{QStringLiteral("Drag")});
    const QString trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));
}

void TestTools::resizeByTheBottomEdge()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    CControl *label = rig.addLabel(QRect(40, 60, 60, 30));
    QVERIFY(label);
    const QString before = rig.xml();
    QQuickItem *bottom = handle(label, QStringLiteral("bottomHandle"));
    QVERIFY(bottom && bottom->isVisible());

    // Pressing the handle selects its control; 17 down gives 15.
    QPoint grip = rig.at(bottom, QPointF(3, 3));
    QTest::mousePress(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(label->selectionState(), 1);
    QTest::mouseMove(rig.frame(), grip + QPoint(0, 17));
    QTest::mouseRelease(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip + QPoint(0, 17));
    QCOMPARE(rect(label), QStringLiteral("40,60,60,45"));
    QCOMPARE(history(), QStringList{QStringLiteral("Resize")});
    QCOMPARE(USettings().value(QStringLiteral("Layout/Label")).toString(), QStringLiteral("60x45"));
    const QString trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));

    // Past the top edge the control keeps one grid step.
    grip = rig.at(bottom, QPointF(3, 3));
    QTest::mousePress(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(rig.frame(), grip - QPoint(0, 120));
    QTest::mouseRelease(rig.frame(), Qt::LeftButton, Qt::NoModifier, grip - QPoint(0, 120));
    QCOMPARE(rect(label), QStringLiteral("40,60,60,5"));
    QCOMPARE(history().count(), 2);
}

void TestTools::nudge_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("steps");

    // Three presses (one held down and repeated twice) of Left, then of Down.
    QTest::newRow("grid steps") << int(Qt::NoModifier) << "25,75,60,30" << 2;
    QTest::newRow("shift, single pixels") << int(Qt::ShiftModifier) << "37,63,60,30" << 2;
    QTest::newRow("control belongs to align") << int(Qt::ControlModifier) << "40,60,60,30" << 0;
}

void TestTools::nudge()
{
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(int, steps);

    CanvasRig rig;
    QVERIFY(rig.show());
    CControl *label = rig.addLabel(QRect(40, 60, 60, 30));
    QVERIFY(label);
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::NoModifier,
                      rig.at(rootOf(label), QPointF(30, 15)));
    const QString before = rig.xml();

    const auto keys = Qt::KeyboardModifiers(modifiers);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down}) {
        // A held key repeats press and release; only the real release ends it.
        QTest::simulateEvent(rig.frame(), true, key, keys, QString(), false);
        for (int repeat = 0; repeat < 2; ++repeat) {
            QTest::simulateEvent(rig.frame(), false, key, keys, QString(), true);
            QTest::simulateEvent(rig.frame(), true, key, keys, QString(), true);
        }
        QTest::simulateEvent(rig.frame(), false, key, keys, QString(), false);
    }
    QCOMPARE(rect(label), after);
    QCOMPARE(history(), QVector<QString>(steps, QStringLiteral("Nudge")).toList());
    if (steps == 0)
        return;
    const QString moved = rig.xml();
    BCommandProcessor::instance()->undo(steps - 1);
    QCOMPARE(rig.xml(), before);
    BCommandProcessor::instance()->redo(steps - 1);
    QCOMPARE(rig.xml(), moved);
}

// Each edit on the region is one step, and undo is exact also when the
// region has moved its own origin to follow a vertex.
void TestTools::regionVertices()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    // A pentagon whose only top vertex is (50, 0).
    WRegion *region = rig.addRegion(QStringLiteral("0,50 50,0 100,50 100,100 0,100"),
                                    QPoint(40, 60));
    QVERIFY(region);
    QQuickItem *root = region->root();
    // Fitted around its vertices (and a hair more) once every value is read.
    QTRY_COMPARE_WITH_TIMEOUT(qRound(root->height()), 100, Timeout);
    const QString start = rig.xml();

    // Control on an edge inserts a vertex there.
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::ControlModifier,
                      rig.at(root, QPointF(100, 75)));
    QCOMPARE(region->vertices().size(), 6);
    QCOMPARE(region->vertex(3), QPointF(100, 75));
    QCOMPARE(history(), QStringList{QStringLiteral("Insert Vertex")});
    QString trip = roundTrip(rig, start);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));

    // The top vertex dragged 23 down lands on the grid, 20 down: the region
    // shifts its origin down by as much.
    QString before = rig.xml();
    const QPoint top = rig.at(root, QPointF(50, 0));
    QTest::mousePress(rig.frame(), Qt::LeftButton, Qt::NoModifier, top);
    QTest::mouseMove(rig.frame(), top + QPoint(0, 23));
    QTest::mouseRelease(rig.frame(), Qt::LeftButton, Qt::NoModifier, top + QPoint(0, 23));
    QCOMPARE(root->y(), 80.0);
    QCOMPARE(region->vertex(1), QPointF(50, 0));
    QCOMPARE(history().last(), QStringLiteral("Reshape"));
    trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));

    // Shift and Control on a vertex delete it; the rest keep their places.
    before = rig.xml();
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier,
                      rig.at(root, QPointF(50, 0)));
    QCOMPARE(region->vertices().size(), 5);
    QCOMPARE(root->y(), 110.0);
    QCOMPARE(history().last(), QStringLiteral("Delete Vertex"));
    trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));

    BCommandProcessor::instance()->undo(2);
    QCOMPARE(rig.xml(), start);
}

void TestTools::regionKeepsThreeVertices()
{
    RecordingMessageHandler messages;
    CanvasRig rig;
    QVERIFY(rig.show());
    WRegion *region = rig.addRegion(QStringLiteral("0,0 100,0 100,100 0,100"), QPoint(40, 60));
    QVERIFY(region);
    QTRY_COMPARE_WITH_TIMEOUT(qRound(region->root()->width()), 100, Timeout);
    const auto deleteCorner = [&rig, region](const QPointF &corner) {
        QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier,
                          rig.at(region->root(), corner));
    };
    deleteCorner(QPointF(100, 100));
    QCOMPARE(region->vertices().size(), 3);
    QCOMPARE(history(), QStringList{QStringLiteral("Delete Vertex")});

    // Down to three, the next delete is refused with a warning.
    const QString before = rig.xml();
    deleteCorner(QPointF(100, 0));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().title, QStringLiteral("Warning"));
    QCOMPARE(messages.last().text, QStringLiteral("The minimum number of vertices is three."));
    QCOMPARE(region->vertices().size(), 3);
    QCOMPARE(history().count(), 1);
    QCOMPARE(rig.xml(), before);
}

ZRB_TEST_MAIN(TestTools)
#include "tst_tools.moc"
