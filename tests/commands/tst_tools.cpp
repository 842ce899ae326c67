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

#include <functional>

// The pointer tools as the user reaches them: mouse and keys on the real
// canvas, through the selection overlay and the region's own editing, to the
// model's pointer tool and the undo history.
namespace {

const int Timeout = 20000;

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
        return QTest::qWaitForWindowExposed(frame(), Timeout) &&
               QTest::qWaitFor([this]() { return model.pixelScale() == 1.0; }, Timeout);
    }

    // A control of the type with the item values given, shown on the panel.
    WWidget *add(const QString &type, const QString &values)
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n<Control name=\"%1\" type=\"%1\">\n"
            "<Property name=\"widget\">\n<%2>%3</%2>\n</Property>\n"
            "<Property name=\"attributes\">\n</Property>\n</Control>\n</Controls>\n</ZDX>\n");
        CControl *control =
            model.pasteText(model.currentPanel(), text.arg(type, type.toLower(), values));
        if (!control)
            return nullptr;
        control->show(true);
        return qobject_cast<WWidget *>(control->items().value(0)->itemObject());
    }

    WWidget *addLabel()
    {
        return add(QStringLiteral("Label"),
                   QStringLiteral("<x>40</x><y>60</y><width>60</width><height>30</height>"));
    }

    QString xml()
    {
        return TestSupport::writtenXml([this](XmlWriter &writer) { model.writeDocument(&writer); });
    }

    void click(QQuickItem *item, const QPointF &point, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(frame(), Qt::LeftButton, keys, item->mapToScene(point).toPoint());
    }

    // Press at point of the item, move by offset in steps, release there.
    void drag(QQuickItem *item, const QPointF &point, const QPoint &offset, int steps = 1)
    {
        const QPoint from = item->mapToScene(point).toPoint();
        QTest::mousePress(frame(), Qt::LeftButton, Qt::NoModifier, from);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(frame(), from + offset * i / steps);
        QTest::mouseRelease(frame(), Qt::LeftButton, Qt::NoModifier, from + offset);
    }
};

QString rect(WWidget *item)
{
    const QRectF r = item->rootGeometry();
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
};

void TestTools::dragOnTheGrid()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    WWidget *label = rig.addLabel();
    WWidget *other =
        rig.add(QStringLiteral("Label"),
                QStringLiteral("<x>140</x><y>60</y><width>60</width><height>30</height>"));
    QVERIFY(label && other);
    const QString before = rig.xml();
    // Clicks select without an undo step.
    rig.click(label->root(), QPointF(30, 15));
    rig.click(other->root(), QPointF(30, 15), Qt::ShiftModifier);
    QCOMPARE(label->control()->selectionState() + other->control()->selectionState(), 2);
    QVERIFY(history().isEmpty());

    // Four moves of (6, 3) are one step; both move by the snapped (20, 10).
    rig.drag(label->root(), QPointF(30, 15), QPoint(24, 12), 4);
    QCOMPARE(rect(label) + QLatin1Char(' ') + rect(other),
             QStringLiteral("60,70,60,30 160,70,60,30"));
    QCOMPARE(history(), QStringList{QStringLiteral("Drag")});
    const QString trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));
}

// Every selected control takes the first one's new height; undo gives each
// its own back.
void TestTools::resizeByTheBottomEdge()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    WWidget *label = rig.addLabel();
    WWidget *tall =
        rig.add(QStringLiteral("Label"),
                QStringLiteral("<x>140</x><y>0</y><width>20</width><height>80</height>"));
    QQuickItem *bottom =
        label ? label->selector()->findChild<QQuickItem *>("bottomHandle") : nullptr;
    QVERIFY(tall && bottom && bottom->isVisible());
    rig.click(label->root(), QPointF(30, 15));
    rig.click(tall->root(), QPointF(10, 15), Qt::ShiftModifier);
    const QString before = rig.xml();

    // 17 down gives 15; the size is the next label's.
    rig.drag(bottom, QPointF(3, 3), QPoint(0, 17));
    QCOMPARE(rect(label) + QLatin1Char(' ') + rect(tall),
             QStringLiteral("40,60,60,45 140,0,20,45"));
    QCOMPARE(history(), QStringList{QStringLiteral("Resize")});
    QCOMPARE(USettings().value(QStringLiteral("Layout/Label")).toString(), QStringLiteral("60x45"));
    const QString trip = roundTrip(rig, before);
    QVERIFY2(trip.isEmpty(), qPrintable(trip));

    // Past the top edge the controls keep one grid step.
    rig.drag(bottom, QPointF(3, 3), QPoint(0, -120));
    QCOMPARE(rect(label) + QLatin1Char(' ') + rect(tall), QStringLiteral("40,60,60,5 140,0,20,5"));
    QCOMPARE(history().count(), 2);
}

void TestTools::nudge_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("steps");

    // Left, then Down, each pressed and repeated twice before its release.
    QTest::newRow("grid steps") << int(Qt::NoModifier) << "25,75,60,30" << 2;
    QTest::newRow("shift, pixels") << int(Qt::ShiftModifier) << "37,63,60,30" << 2;
    QTest::newRow("control: align's") << int(Qt::ControlModifier) << "40,60,60,30" << 0;
}

void TestTools::nudge()
{
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    QFETCH(int, steps);

    CanvasRig rig;
    QVERIFY(rig.show());
    WWidget *label = rig.addLabel();
    QVERIFY(label);
    rig.click(label->root(), QPointF(30, 15));
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
    BCommandProcessor::instance()->undo(steps - 1);
    QCOMPARE(rig.xml(), before);
}

// Each edit on the region is one step, and undo is exact also when the
// region has moved its own origin to follow a vertex.
void TestTools::regionVertices()
{
    RecordingMessageHandler messages;
    CanvasRig rig;
    QVERIFY(rig.show());
    // A pentagon whose only top vertex is (50, 0).
    auto *region = qobject_cast<WRegion *>(
        rig.add(QStringLiteral("Region"), QStringLiteral("<x>40</x><y>60</y><polygon>0,50 50,0 "
                                                         "100,50 100,100 0,100</polygon>")));
    QVERIFY(region);
    QQuickItem *root = region->root();
    // Fitted around its vertices (and a hair more) once every value is read.
    QTRY_COMPARE_WITH_TIMEOUT(qRound(root->height()), 100, Timeout);
    const Qt::KeyboardModifiers remove = Qt::ShiftModifier | Qt::ControlModifier;
    const QList<std::function<void()>> edits{
        // Control on an edge inserts a vertex there.
        [&]() { rig.click(root, QPointF(100, 75), Qt::ControlModifier); },
        // The top vertex dragged 23 down lands 20 down; the origin follows.
        [&]() { rig.drag(root, QPointF(50, 0), QPoint(0, 23)); },
        // Shift and Control on a vertex delete it.
        [&]() { rig.click(root, QPointF(50, 0), remove); },
        [&]() { rig.click(root, QPointF(100, 25), remove); },
        [&]() { rig.click(root, QPointF(100, 50), remove); }};
    for (const auto &edit : edits) {
        const QString before = rig.xml();
        edit();
        const QString trip = roundTrip(rig, before);
        QVERIFY2(trip.isEmpty(), qPrintable(trip));
    }
    QCOMPARE(history(), QStringList({"Insert Vertex", "Reshape", "Delete Vertex", "Delete Vertex",
                                     "Delete Vertex"}));
    QCOMPARE(root->y(), 110.0);
    QCOMPARE(region->vertices(), (QVector<QPointF>{{0, 0}, {100, 0}, {0, 50}}));

    // Down to three, the next delete is refused with a warning.
    const QString three = rig.xml();
    rig.click(root, QPointF(100, 0), remove);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().text, QStringLiteral("The minimum number of vertices is three."));
    QCOMPARE(history().count(), 5);
    QCOMPARE(rig.xml(), three);
}

ZRB_TEST_MAIN(TestTools)
#include "tst_tools.moc"
