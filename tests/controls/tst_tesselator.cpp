#include "common/EditorTestSupport.h"

#include "controls/UPolygon.h"
#include "controls/UTesselator.h"

#include <QApplication>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

QPolygonF shape(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

const QPolygonF Square = shape({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
const QPolygonF LShape = shape({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
const QPolygonF BowTie = shape({{0, 0}, {10, 10}, {10, 0}, {0, 10}});
const QPolygonF Diamond = shape({{5, 0}, {10, 5}, {5, 10}, {0, 5}});

QPolygonF reversed(const QPolygonF &polygon)
{
    return QPolygonF(QVector<QPointF>(polygon.rbegin(), polygon.rend()));
}

double polygonArea(const QVector<QPointF> &polygon)
{
    double sum = 0.0;
    for (int i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
        sum += polygon[j].x() * polygon[i].y() - polygon[i].x() * polygon[j].y();
    return std::fabs(sum) / 2.0;
}

double trianglesArea(const QVector<QPointF> &corners)
{
    double sum = 0.0;
    for (int i = 0; i + 2 < corners.size(); i += 3) {
        const QPointF a = corners[i + 1] - corners[i];
        const QPointF b = corners[i + 2] - corners[i];
        sum += std::fabs(a.x() * b.y() - a.y() * b.x()) / 2.0;
    }
    return sum;
}

// A polygon whose vertices go once round the origin at growing angles, so
// it is simple by construction.
QPolygonF star(QRandomGenerator &random, int count, double size)
{
    QPolygonF polygon;
    const double step = 2.0 * M_PI / count;
    for (int i = 0; i < count; ++i) {
        const double angle = (i + 0.9 * random.generateDouble()) * step;
        const double radius = size * (0.2 + 0.8 * random.generateDouble());
        polygon << QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

// The ear clipping in its plain form: an index list shifted at every ear and
// every remaining point tested. The tesselator must clip the same ears.
bool plainTriangulate(const QVector<QPointF> &contour, QVector<QPointF> *out)
{
    const int n = contour.size();
    QVector<float> x(n), y(n);
    float area = 0.0f;
    for (int i = 0; i < n; ++i) {
        x[i] = float(contour[i].x());
        y[i] = float(contour[i].y());
    }
    for (int p = n - 1, q = 0; q < n; p = q++)
        area += x[p] * y[q] - x[q] * y[p];
    QVector<int> order(n);
    for (int k = 0; k < n; ++k)
        order[k] = area * 0.5f > 0.0f ? k : n - 1 - k;
    const auto inside = [&](int a, int b, int c, int p) {
        const float cb = (x[c] - x[b]) * (y[p] - y[b]) - (y[c] - y[b]) * (x[p] - x[b]);
        const float ac = (x[a] - x[c]) * (y[p] - y[c]) - (y[a] - y[c]) * (x[p] - x[c]);
        const float ba = (x[b] - x[a]) * (y[p] - y[a]) - (y[b] - y[a]) * (x[p] - x[a]);
        return cb >= 0.0f && ac >= 0.0f && ba >= 0.0f;
    };
    int remaining = n;
    int budget = 2 * remaining;
    for (int v = remaining - 1; remaining > 2;) {
        if (budget-- <= 0)
            return false;
        const int u = v >= remaining ? 0 : v;
        v = u + 1 >= remaining ? 0 : u + 1;
        const int w = v + 1 >= remaining ? 0 : v + 1;
        const int a = order[u], b = order[v], c = order[w];
        if (1e-10f > (x[b] - x[a]) * (y[c] - y[a]) - (y[b] - y[a]) * (x[c] - x[a]))
            continue;
        bool ear = true;
        for (int p = 0; ear && p < remaining; ++p)
            ear = p == u || p == v || p == w || !inside(a, b, c, order[p]);
        if (!ear)
            continue;
        *out << QPointF(x[a], y[a]) << QPointF(x[b], y[b]) << QPointF(x[c], y[c]);
        order.remove(v);
        budget = 2 * --remaining;
    }
    return true;
}

} // namespace

class TestTesselator : public QObject
{
    Q_OBJECT

private slots:
    void triangulate_data()
    {
        QTest::addColumn<QPolygonF>("polygon");
        QTest::addColumn<int>("triangles"); // -1: fails
        QTest::newRow("square") << Square << 2;
        QTest::newRow("L-shaped hexagon") << LShape << 4;
        QTest::newRow("three collinear points") << shape({{0, 0}, {5, 0}, {10, 0}}) << -1;
        QTest::newRow("two points") << shape({{0, 0}, {5, 0}}) << -1;
        QTest::newRow("not finite") << shape({{0, 0}, {qQNaN(), 0}, {0, 5}}) << -1;
        QTest::newRow("beyond single precision") << shape({{0, 0}, {1e19, 0}, {0, 1e19}}) << -1;
    }

    // Both windings give the same triangles' area, equal to the polygon's.
    void triangulate()
    {
        QFETCH(QPolygonF, polygon);
        QFETCH(int, triangles);
        UTesselator *tesselator = UTesselator::instance();
        for (const QPolygonF &contour : {polygon, reversed(polygon)}) {
            QVector<QPointF> corners = {QPointF(-1, -1)};
            const bool done = tesselator->triangulate(contour, &corners);
            QCOMPARE(done, triangles >= 0);
            corners.removeFirst(); // appended after what was there
            QCOMPARE(corners.size(), qMax(triangles, 0) * 3);
            if (done)
                QCOMPARE(trianglesArea(corners), polygonArea(contour));
        }
        QCOMPARE(std::fabs(tesselator->area(polygon)), float(polygonArea(polygon)));
    }

    // Random simple polygons always triangulate into n - 2 triangles covering
    // them; random arbitrary ones fail cleanly or succeed. Either way the ears
    // are those the plain algorithm clips.
    void randomPolygons()
    {
        QRandomGenerator random(20240611);
        UTesselator *tesselator = UTesselator::instance();
        for (int round = 0; round < 600; ++round) {
            const bool simple = round % 3 != 0;
            const int count = 3 + int(random.bounded(simple ? 120 : 14));
            QPolygonF polygon;
            if (simple) {
                polygon = star(random, count, 1.0 + random.bounded(1000));
            } else {
                for (int i = 0; i < count; ++i)
                    polygon << QPointF(random.bounded(12), random.bounded(12));
            }
            if (round % 2)
                polygon = reversed(polygon);
            QVector<QPointF> corners;
            const bool done = tesselator->triangulate(polygon, &corners);
            const QString context = QStringLiteral("round %1, %2 vertices").arg(round).arg(count);
            if (simple) {
                QVERIFY2(done, qPrintable(context));
                QCOMPARE(corners.size(), 3 * (count - 2));
                const double area = polygonArea(polygon);
                QVERIFY2(std::fabs(trianglesArea(corners) - area) <= 1e-4 * area,
                         qPrintable(context));
            } else if (!done) {
                QVERIFY2(corners.isEmpty(), qPrintable(context));
            }
            QVector<QPointF> plain;
            QCOMPARE(plainTriangulate(polygon, &plain), done);
            if (done)
                QVERIFY2(plain == corners, qPrintable(context));
        }
    }

    void classify_data()
    {
        QTest::addColumn<QPolygonF>("polygon");
        QTest::addColumn<int>("mode");
        QTest::newRow("square") << Square << int(UPolygon::Convex);
        QTest::newRow("L-shaped hexagon") << LShape << int(UPolygon::Concave);
        QTest::newRow("bow-tie") << BowTie << int(UPolygon::SelfIntersecting);
        QTest::newRow("pentagram") << shape({{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}})
                                   << int(UPolygon::SelfIntersecting);
        // Vertices that add nothing to the area do not change how it is filled.
        QTest::newRow("point on an edge")
            << shape({{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}) << int(UPolygon::Convex);
        QTest::newRow("repeated vertex")
            << shape({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})
            << int(UPolygon::Convex);
        QTest::newRow("spike") << shape({{0, 0}, {10, 0}, {20, 0}, {10, 0}, {10, 10}, {0, 10}})
                               << int(UPolygon::Convex);
    }

    void classify()
    {
        QFETCH(QPolygonF, polygon);
        QFETCH(int, mode);
        QCOMPARE(int(UPolygon::classify(UPolygon::fillContour(polygon))), mode);
    }

    void contains_data()
    {
        QTest::addColumn<QPolygonF>("polygon");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("centre") << Square << QPointF(5, 5) << true;
        QTest::newRow("outside") << Square << QPointF(11, 5) << false;
        QTest::newRow("exactly on an edge") << Square << QPointF(5, 0) << true;
        QTest::newRow("on a vertex") << Square << QPointF(10, 10) << true;
        QTest::newRow("in the notch") << LShape << QPointF(15, 15) << false;
        QTest::newRow("in the arm") << LShape << QPointF(5, 15) << true;
        // The ray from the point runs through the vertex at (10, 5).
        QTest::newRow("level with a vertex") << Diamond << QPointF(2, 5) << true;
        QTest::newRow("bow-tie wing") << BowTie << QPointF(9, 5) << true;
        QTest::newRow("between the wings") << BowTie << QPointF(5, 1) << false;
    }

    void contains()
    {
        QFETCH(QPolygonF, polygon);
        QFETCH(QPointF, point);
        QFETCH(bool, inside);
        QCOMPARE(UPolygon::contains(polygon, point), inside);
    }

    void polygonText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("as written") << "10,10 50,10 50,40 "
                                    << "10,10 50,10 50,40 ";
        QTest::newRow("no trailing space") << "1.5,2.25 3,4"
                                           << "1.5,2.25 3,4 ";
        QTest::newRow("comma missing or first") << ",5 6 7,8"
                                                << "7,8 ";
        QTest::newRow("not numbers") << "a,b 1,2,3 nan,1 1,inf 9,9"
                                     << "9,9 ";
        QTest::newRow("clamped, six digits") << "2e9,-3e9 0.1234567,1"
                                             << "1e+06,-1e+06 0.123457,1 ";
        QTest::newRow("line breaks") << " 1,1\n2,2\t3,3"
                                     << "1,1 2,2 3,3 ";
    }

    void polygonText()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(UPolygon::format(UPolygon::parse(text)), written);
        QCOMPARE(UPolygon::format(UPolygon::parse(written)), written);
    }
};

ZRB_TEST_MAIN(TestTesselator)
#include "tst_tesselator.moc"
