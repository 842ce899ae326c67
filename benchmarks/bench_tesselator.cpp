// Times the triangulation of simple polygons of growing size (the median of
// repeated runs), to show how filling a region scales with its vertices.
// Run on demand: ./bench_tesselator
#include "controls/UTesselator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Vertices once round the origin at growing angles and random radii: simple,
// and concave at about every other vertex.
QVector<QPointF> starPolygon(int count)
{
    QRandomGenerator random(count);
    QVector<QPointF> polygon;
    const double step = 2.0 * M_PI / count;
    for (int i = 0; i < count; ++i) {
        const double angle = (i + 0.9 * random.generateDouble()) * step;
        const double radius = 100.0 + 900.0 * random.generateDouble();
        polygon << QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    UTesselator *tesselator = UTesselator::instance();
    out << "vertices  median (ms)  triangles\n";
    for (int count : {10, 100, 1000, 5000}) {
        const QVector<QPointF> polygon = starPolygon(count);
        const int runs = count >= 5000 ? 21 : 101;
        std::vector<double> times;
        QVector<QPointF> triangles;
        for (int run = 0; run < runs; ++run) {
            triangles.clear();
            QElapsedTimer timer;
            timer.start();
            tesselator->triangulate(polygon, &triangles);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
        out << QString::number(count).rightJustified(8) << "  "
            << QString::number(times[size_t(runs / 2)], 'f', 4).rightJustified(11) << "  "
            << QString::number(triangles.size() / 3).rightJustified(9) << "\n";
    }
    return 0;
}
