#include "common/EditorTestSupport.h"
#include "common/RecordingMessageHandler.h"

#include "app/MModel.h"
#include "commands/BCommand.h"
#include "controls/WRegion.h"
#include "dialogs/DQmlMessageDialog.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"
#include "views/KQmlController.h"
#include "views/VModeManager.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGGeometry>
#include <QTest>
#include <QWidget>

namespace {

const int Timeout = 20000;
const QString Square = QStringLiteral("0,0 100,0 100,100 0,100");
const QString Triangle = QStringLiteral("0,0 100,0 0,100");

// The canvas as the main window holds it: a model with a document, and the
// canvas controller on a widget tree.
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
        window.resize(400, 700);
        central->resize(400, 700);
        controller = new KQmlController(&model, central);
        model.addController(controller);
        model.newDocument(QStringLiteral(ZRB_SOURCE_DIR "/templates/Blank Panel.tpl"));
        QObject::connect(frame()->engine(), &QQmlEngine::warnings, &window,
                         [this](const QList<QQmlError> &list) {
                             for (const QQmlError &error : list)
                                 warnings << error.toString();
                         });
    }

    QStringList warnings;

    VQmlFrame *frame() const { return controller->frame(); }

    bool show()
    {
        window.show();
        controller->setGeometry(QRect(0, 0, 300, 600));
        return QTest::qWaitForWindowExposed(frame(), Timeout);
    }

    WRegion *addRegion(const QString &values)
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\"?>\n<ZDX>\n<Controls>\n<Control name=\"r\" type=\"Region\">\n"
            "<Property name=\"widget\">\n<region>%1</region>\n</Property>\n"
            "<Property name=\"attributes\">\n</Property>\n</Control>\n</Controls>\n</ZDX>\n");
        CControl *control = model.pasteText(model.currentPanel(), text.arg(values));
        CItem *item = control ? control->items().value(0) : nullptr;
        auto *region = item ? qobject_cast<WRegion *>(item->itemObject()) : nullptr;
        if (region)
            control->show(true);
        return region;
    }

    // Where a point of the region's item lands in a grab of the window.
    QPoint pixel(WRegion *region, double x, double y) const
    {
        return (region->root()->mapToScene(QPointF(x, y)) * frame()->devicePixelRatio()).toPoint();
    }
};

bool isRed(QRgb colour)
{
    return qRed(colour) > 200 && qGreen(colour) < 80 && qBlue(colour) < 80;
}

// Records what a region hands to the select tool and, like the vertex
// commands, inserts and deletes the vertices it is asked to.
class RecordingTool : public BCommand
{
public:
    RecordingTool() : BCommand(Transient) {}
    void selectControl(CControl *) override { calls << QStringLiteral("select"); }
    void pointerEvent(double x, double y, int edge, int code, int state) override
    {
        calls
            << QStringLiteral("%1 %2 %3 %4 %5").arg(code, 0, 16).arg(x).arg(y).arg(edge).arg(state);
        if (code == 0x2005)
            region->insertVertex(x, y, edge);
        else if (code == 0x2004)
            region->removeVertex(edge);
    }
    QStringList calls;
    WRegion *region = nullptr;
};

class RecordingRegion : public WRegion
{
public:
    RecordingTool *tool = nullptr;

protected:
    BCommand *gestureTool() const override { return tool; }
};

// A region of its own, outside any canvas, on a plain root item.
struct Bench
{
    QQuickItem root;
    RecordingRegion region;
    CControl control;
    RecordingTool tool;

    explicit Bench(const QString &polygon)
    {
        region.setRoot(&root);
        region.setParentItem(&root);
        region.setControl(&control);
        region.initWidget();
        region.loadAttribute(QStringLiteral("polygon"), polygon);
        region.normalisePosition();
        region.tool = &tool;
        tool.region = &region;
    }
};

} // namespace

class TestRegion : public QObject
{
    Q_OBJECT

private slots:
    // Every value read is written back in the written order and form.
    void valuesRoundTrip()
    {
        CanvasRig rig;
        const QString values = QStringLiteral(
            "<x>20</x><y>30</y><width>40</width><height>30</height><id>5</id><xfract>0.5</xfract>"
            "<fieldcolor>#80ff0000</fieldcolor><bordercolor>#ff0000ff</bordercolor>"
            "<borderwidth>2.5</borderwidth><polygon>0,0 40,0 40,30 </polygon>"
            "<path>..\\COLLECTION1\\Panel</path>");
        WRegion *region = rig.addRegion(values);
        QVERIFY(region);
        QCOMPARE(region->attribute(0x4501).toString(), QStringLiteral("..\\COLLECTION1\\Panel"));
        QCOMPARE(region->rootProperty("model").toList().size(), 3);
        const QString xml = TestSupport::writtenXml([&](XmlWriter &w) { region->writeXml(&w); });
        QCOMPARE(xml, QStringLiteral(
                          "<region>\n\t<x>20</x>\n\t<y>30</y>\n\t<width>40</width>\n"
                          "\t<height>30</height>\n\t<xfract>0</xfract>\n\t<yfract>0</yfract>\n"
                          "\t<widthfract>1</widthfract>\n\t<heightfract>1</heightfract>\n"
                          "\t<fieldcolor>#80ff0000</fieldcolor>\n"
                          "\t<bordercolor>#ff0000ff</bordercolor>\n"
                          "\t<borderwidth>2.5</borderwidth>\n"
                          "\t<polygon>0,0 40,0 40,30 </polygon>\n"
                          "\t<path>..\\COLLECTION1\\Panel</path>\n</region>\n"));
    }

    // Once on screen the vertices start at the item's corner.
    void normalisedAtFirstFrame()
    {
        Bench bench{QString()};
        QQuickWindow window;
        bench.root.setParentItem(window.contentItem());
        bench.root.setPosition(QPointF(100, 50));
        bench.region.loadAttribute(QStringLiteral("polygon"), QStringLiteral("10,10 50,10 50,40"));
        QCOMPARE(bench.region.vertex(0), QPointF(10, 10));
        window.resize(200, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, Timeout));
        QTRY_COMPARE_WITH_TIMEOUT(bench.root.x(), 110.0, Timeout);
        QCOMPARE(bench.root.y(), 60.0);
        QCOMPARE(bench.region.vertex(0), QPointF(0, 0));
        QCOMPARE(bench.region.vertex(2), QPointF(40, 30));
        QVERIFY(qAbs(bench.root.width() - 40) < 1e-3 && qAbs(bench.root.height() - 30) < 1e-3);
    }

    void fillFollowsShape_data()
    {
        QTest::addColumn<QString>("polygon");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("vertices");
        QTest::newRow("square") << Square << int(QSGGeometry::DrawTriangleFan) << 4;
        QTest::newRow("L-shaped hexagon")
            << "0,0 20,0 20,10 10,10 10,20 0,20" << int(QSGGeometry::DrawTriangles) << 12;
        QTest::newRow("bow-tie") << "0,0 10,10 10,0 0,10" << int(QSGGeometry::DrawPoints) << 0;
        QTest::newRow("repeated vertex")
            << "0,0 10,0 10,0 0,10" << int(QSGGeometry::DrawTriangleFan) << 3;
        QTest::newRow("collinear") << "0,0 5,0 10,0" << int(QSGGeometry::DrawPoints) << 0;
        // A vertex on another edge: not simple, though no edges cross.
        QTest::newRow("touching itself")
            << "3,3 3,9 1,7 1,3 3,5 7,10 11,8" << int(QSGGeometry::DrawTriangles) << 0;
        QString huge;
        for (int i = 0; i < 30000; ++i)
            huge += QStringLiteral("%1,%2 ").arg(i).arg(i % 2 ? i : -i);
        QTest::newRow("beyond 16-bit indices") << huge << int(QSGGeometry::DrawPoints) << 0;
    }

    void fillFollowsShape()
    {
        QFETCH(QString, polygon);
        QFETCH(int, mode);
        QFETCH(int, vertices);
        Bench bench(polygon);
        QVector<QPointF> drawn;
        QCOMPARE(int(bench.region.fillGeometry(&drawn)), mode);
        QCOMPARE(drawn.size(), vertices);
    }

    // A concave region is filled inside and not in its notch; a bow-tie only
    // gets its outline.
    void renderedFill()
    {
        CanvasRig rig;
        const QString colours = QStringLiteral("<fieldcolor>#ffff0000</fieldcolor>"
                                               "<bordercolor>#ff0000ff</bordercolor>");
        WRegion *shape = rig.addRegion(QStringLiteral("<x>20</x><y>60</y>") + colours +
                                       "<polygon>0,0 80,0 80,40 40,40 40,80 0,80</polygon>");
        WRegion *bowTie = rig.addRegion(QStringLiteral("<x>20</x><y>160</y>") + colours +
                                        "<polygon>0,0 60,60 60,0 0,60</polygon>");
        QVERIFY(shape && bowTie);
        QVERIFY(rig.show());
        // Scaled to the canvas, each keeps its size relative to the other.
        QVERIFY(qAbs(bowTie->rootGeometry().width() / shape->rootGeometry().width() - 0.75) < 1e-3);
        const auto at = [&](const QImage &image, WRegion *region, double fx, double fy) {
            const QRectF box = region->rootGeometry();
            const QPoint pixel = rig.pixel(region, fx * box.width(), fy * box.height());
            return image.rect().contains(pixel) ? image.pixel(pixel) : qRgb(0, 0, 0);
        };
        QImage image;
        QTRY_VERIFY_WITH_TIMEOUT(
            (image = rig.frame()->grabWindow(), isRed(at(image, shape, 0.25, 0.75))), Timeout);
        QVERIFY(image.rect().contains(
            rig.pixel(bowTie, bowTie->rootGeometry().width(), bowTie->rootGeometry().height())));
        QVERIFY(isRed(at(image, shape, 0.75, 0.25)));
        QVERIFY(!isRed(at(image, shape, 0.75, 0.75)));
        int outlined = 0;
        for (double f = 0.05; f < 1.0; f += 0.05) {
            QVERIFY2(!isRed(at(image, bowTie, f, 0.5)), qPrintable(QString::number(f)));
            QVERIFY(!isRed(at(image, bowTie, 0.1, f)));
            // The diagonals, give or take a pixel.
            const QPoint onLine = rig.pixel(bowTie, f * bowTie->rootGeometry().width(),
                                            f * bowTie->rootGeometry().height());
            bool blue = false;
            for (int d = 0; d < 9; ++d)
                blue = blue || qBlue(image.pixel(onLine + QPoint(d % 3 - 1, d / 3 - 1))) > 200;
            outlined += blue ? 1 : 0;
        }
        QVERIFY2(outlined > 15,
                 qPrintable(QStringLiteral("outline seen at %1 of 19 points").arg(outlined)));
        QVERIFY2(rig.warnings.isEmpty(), qPrintable(rig.warnings.join(QLatin1Char('\n'))));
    }

    void vertexOperations()
    {
        Bench bench(Square);
        WRegion &region = bench.region;
        bench.root.setPosition(QPointF(10, 10));
        QCOMPARE(region.vertex(7), QPointF(0, 0));
        region.insertVertex(50, -20, 1);
        QCOMPARE(region.vertices().size(), 5);
        // The new top edge moved the item up and the vertices down.
        QCOMPARE(region.vertex(1), QPointF(50, 0));
        QCOMPARE(region.vertex(0), QPointF(0, 20));
        QCOMPARE(bench.root.y(), -10.0);
        QCOMPARE(int(region.fillMode()), int(UPolygon::Convex));
        region.removeVertex(1);
        region.removeVertex(9);
        region.insertVertex(qQNaN(), 1, 0);
        QCOMPARE(region.vertices(), (QVector<QPointF>{{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
        QCOMPARE(bench.root.y(), 10.0);

        region.reshape(40, 40, 2, 1, 0, 0);
        QCOMPARE(region.vertex(2), QPointF(40, 40));
        QCOMPARE(int(region.fillMode()), int(UPolygon::Concave));
        region.reshape(-12.5, 7, 0, 1, 0, 0);
        QCOMPARE(bench.root.x(), 10.0); // not until the gesture ends
        region.reshape(0, 0, -1, 1, 0, 0);
        QCOMPARE(bench.root.x(), -2.5);
        QCOMPARE(region.vertex(0), QPointF(0, 7));
        // The grid moves each coordinate toward zero to a multiple of 5.
        region.setGeometry(0, 0, 0, 0);
        QCOMPARE(region.vertex(0), QPointF(0, 5));
        QCOMPARE(region.vertex(1), QPointF(110, 0));
        bench.root.setWidth(UPolygon::bounds(region.vertices()).width());
        region.scale(2.0f);
        QCOMPARE(region.vertex(1), QPointF(220, 0));
    }

    void editGestures_data()
    {
        QTest::addColumn<QString>("polygon");
        QTest::addColumn<QStringList>("events"); // "x y keys state", QML coordinates
        QTest::addColumn<bool>("taken");         // what the press answered
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("vertices");
        QTest::addColumn<bool>("warned");
        const QString ctrl = QString::number(Qt::ControlModifier);
        const QString shiftCtrl = QString::number(Qt::ShiftModifier | Qt::ControlModifier);
        QTest::newRow("drag the body")
            << Square << QStringList{"53 53 0 1", "63 58 0 2", "73 63 " + ctrl + " 3"} << true
            << QStringList{"select", "2001 0 0 -1 1", "2001 10 5 -1 2", "2001 20 10 -1 3"} << 4
            << false;
        QTest::newRow("drag a vertex")
            << Square << QStringList{"101 101 0 1", "111 121 0 2", "111 121 0 3"} << true
            << QStringList{"select", "2003 100 100 2 1", "2003 108 118 2 2", "2003 108 118 2 3"}
            << 4 << false;
        QTest::newRow("press beside the polygon")
            << Triangle << QStringList{"83 83 0 1", "90 90 0 2"} << false << QStringList() << 3
            << false;
        QTest::newRow("insert on an edge")
            << Square << QStringList{"53 4 " + ctrl + " 1", "60 4 " + ctrl + " 2"} << true
            << QStringList{"select", "2005 50 0 1 3"} << 5 << false;
        QTest::newRow("insert off every edge") << Triangle << QStringList{"-1 53 " + ctrl + " 1"}
                                               << false << QStringList() << 3 << false;
        QTest::newRow("delete a vertex") << Square << QStringList{"5 2 " + shiftCtrl + " 1"} << true
                                         << QStringList{"select", "2004 0 0 0 3"} << 3 << false;
        QTest::newRow("delete on a triangle") << Triangle << QStringList{"3 3 " + shiftCtrl + " 1"}
                                              << false << QStringList() << 3 << true;
    }

    void editGestures()
    {
        QFETCH(QString, polygon);
        QFETCH(QStringList, events);
        QFETCH(bool, taken);
        QFETCH(QStringList, calls);
        QFETCH(int, vertices);
        QFETCH(bool, warned);
        RecordingMessageHandler messages;
        Bench bench(polygon);
        for (int i = 0; i < events.size(); ++i) {
            const QStringList e = events.at(i).split(QLatin1Char(' '));
            const bool answer = bench.region.editWidget(e[0].toFloat(), e[1].toFloat(),
                                                        e[2].toUInt(), e[3].toUInt());
            if (i == 0)
                QCOMPARE(answer, taken);
        }
        QCOMPARE(bench.tool.calls, calls);
        QCOMPARE(bench.region.vertices().size(), vertices);
        // Drags show the handles at once; the select tool shows them for the rest.
        QCOMPARE(bench.region.isSelected(), calls.value(1).startsWith(QLatin1String("2001")) ||
                                                calls.value(1).startsWith(QLatin1String("2003")));
        QCOMPARE(messages.count(), warned ? 1 : 0);
        if (warned)
            QCOMPARE(messages.last().text,
                     QStringLiteral("The minimum number of vertices is three."));
    }

    // A touch outside edit mode follows the link; without one the canvas says so.
    void touchFollowsPath()
    {
        CanvasRig rig;
        CComposite *first = rig.model.currentPanel();
        auto *second = new CComposite();
        second->assignKind(QStringLiteral("Panel"));
        second->setName(QStringLiteral("Second"));
        first->parent()->addChild(second);
        second->setModel(&rig.model);
        const QString link = rig.model.documentRoot()->path(second);
        WRegion *region =
            rig.addRegion(QStringLiteral("<x>50</x><y>100</y><polygon>%1</polygon><path>%2</path>")
                              .arg(Triangle, link));
        QVERIFY(region);
        QVERIFY(rig.show());

        QVERIFY(!region->outputPressed(83, 83));
        QCOMPARE(rig.model.currentPanel(), first);
        // The press on the canvas reaches the region through its QML.
        QTRY_VERIFY_WITH_TIMEOUT(region->root()->isVisible() && region->root()->width() > 0,
                                 Timeout);
        QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::NoModifier, rig.pixel(region, 10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(rig.model.currentPanel(), second, Timeout);
        QVERIFY(!region->root()->isVisible());

        region->setAttribute(0x4501, QString());
        QVERIFY(region->outputPressed(13, 13));
        auto *dialog = rig.model.findChild<DQmlMessageDialog *>();
        QVERIFY(dialog && dialog->isOpen());
        QCOMPARE(dialog->object()->property("text").toString(),
                 QStringLiteral("Error - No link has been defined for this region.\n\n"
                                "Please set a link using the properties panel."));
        QCOMPARE(dialog->object()->property("button").toString(), QStringLiteral("OK"));
        QPointer<DQmlMessageDialog> watched(dialog);
        dialog->close();
        QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), Timeout);
        QCOMPARE(rig.model.currentPanel(), second);
        QVERIFY2(rig.warnings.isEmpty(), qPrintable(rig.warnings.join(QLatin1Char('\n'))));
    }

    // In edit mode a press inside selects the region even without a select
    // tool to hand the gesture to.
    void editPressWithoutTool()
    {
        CanvasRig rig;
        WRegion *region =
            rig.addRegion(QStringLiteral("<x>50</x><y>100</y><polygon>%1</polygon>").arg(Square));
        QVERIFY(region);
        QVERIFY(rig.show());
        rig.model.setEditMode(true);
        QTRY_VERIFY_WITH_TIMEOUT(region->root()->width() > 0, Timeout);
        QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::NoModifier, rig.pixel(region, 10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(region->isSelected(), Timeout);
        QCOMPARE(region->vertices().size(), 4);
        rig.model.setEditMode(false);
        QVERIFY(!region->isSelected());
        QVERIFY2(rig.warnings.isEmpty(), qPrintable(rig.warnings.join(QLatin1Char('\n'))));
    }
};

ZRB_TEST_MAIN(TestRegion)
#include "tst_region.moc"
