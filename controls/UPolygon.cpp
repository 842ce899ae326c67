#include "controls/UPolygon.h"

#include "document/CItemRecord.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// b lies on the straight line through a and c (or repeats one of them).
bool flat(const QPointF &a, const QPointF &b, const QPointF &c)
{
    return (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x()) == 0.0;
}

double squaredLength(const QPointF &p)
{
    return p.x() * p.x() + p.y() * p.y();
}

// The edge's box as the crossing scan compares it: flat boxes get a unit side.
QRectF edgeBox(const QPointF &a, const QPointF &b)
{
    QRectF box = QRectF(a, b).normalized();
    if (box.width() == 0.0)
        box.setWidth(1.0);
    if (box.height() == 0.0)
        box.setHeight(1.0);
    return box;
}

// Whether any two edges that share no vertex cross. The edges are swept in
// order of their left sides, so only those whose boxes overlap are compared.
bool anyEdgesCross(const QVector<QPointF> &contour)
{
    const int count = contour.size();
    std::vector<std::pair<QRectF, int>> boxes;
    boxes.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        boxes.emplace_back(edgeBox(contour.at(i), contour.at((i + 1) % count)), i);
    std::sort(boxes.begin(), boxes.end(),
              [](const auto &a, const auto &b) { return a.first.left() < b.first.left(); });
    for (size_t k = 0; k < boxes.size(); ++k) {
        const QRectF &box = boxes[k].first;
        for (size_t m = k + 1; m < boxes.size() && boxes[m].first.left() < box.right(); ++m) {
            if (!box.intersects(boxes[m].first))
                continue;
            const int i = std::min(boxes[k].second, boxes[m].second);
            const int j = std::max(boxes[k].second, boxes[m].second);
            if (j - i < 2 || (i == 0 && j == count - 1))
                continue; // neighbours share a vertex
            if (UPolygon::edgesCross(contour.at(i), contour.at(i + 1), contour.at(j),
                                     contour.at((j + 1) % count)))
                return true;
        }
    }
    return false;
}

} // namespace

namespace UPolygon {

QVector<QPointF> parse(const QString &text)
{
    QVector<QPointF> vertices;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString &token : text.split(blanks, Qt::SkipEmptyParts)) {
        const int comma = token.indexOf(QLatin1Char(','));
        if (comma <= 0)
            continue;
        double x = 0.0;
        double y = 0.0;
        if (CItemRecord::parseCoordinate(token.left(comma), &x) &&
            CItemRecord::parseCoordinate(token.mid(comma + 1), &y))
            vertices.append(QPointF(x, y));
    }
    return vertices;
}

QString format(const QVector<QPointF> &vertices)
{
    QString text;
    for (const QPointF &p : vertices)
        text += QString::number(p.x(), 'g', 6) + QLatin1Char(',') + QString::number(p.y(), 'g', 6) +
                QLatin1Char(' ');
    return text;
}

QVector<QPointF> fillContour(const QVector<QPointF> &vertices)
{
    QVector<QPointF> contour;
    contour.reserve(vertices.size());
    for (const QPointF &p : vertices) {
        while (contour.size() >= 2 && contour.last() != p &&
               flat(contour.at(contour.size() - 2), contour.last(), p))
            contour.removeLast();
        if (contour.isEmpty() || contour.last() != p)
            contour.append(p);
    }
    // The ring closes over the last and first points too.
    while (contour.size() >= 3) {
        const int last = contour.size() - 1;
        if (contour.first() == contour.last() ||
            flat(contour.at(last - 1), contour.at(last), contour.first()))
            contour.removeLast();
        else if (flat(contour.at(last), contour.first(), contour.at(1)))
            contour.removeFirst();
        else
            break;
    }
    return contour;
}

FillMode classify(const QVector<QPointF> &contour)
{
    const int count = contour.size();
    if (count > MaxFilledVertices)
        return SelfIntersecting;
    FillMode mode = Convex;
    int turns = 0;
    for (int i = 0; i < count; ++i) {
        const QPointF &p = contour.at(i);
        const QPointF &before = contour.at((i + count - 1) % count);
        const QPointF &after = contour.at((i + 1) % count);
        const float e1x = float(after.x() - p.x());
        const float e1y = float(after.y() - p.y());
        const float e2x = float(before.x() - p.x());
        const float e2y = float(before.y() - p.y());
        const float cross = e2y * e1x - e2x * e1y;
        if (cross > 0.0f)
            turns |= 1;
        else if (cross < 0.0f)
            turns |= 2;
        if (turns == 3) {
            mode = Concave;
            break;
        }
    }
    return anyEdgesCross(contour) ? SelfIntersecting : mode;
}

bool edgesCross(const QPointF &a, const QPointF &b, const QPointF &c, const QPointF &d)
{
    const double epsilon = 0.0001;
    const QPointF normal(-(b.y() - a.y()), b.x() - a.x());
    const double length = std::sqrt(squaredLength(d - c));
    if (!(length > 0.0))
        return false;
    const QPointF unit = (d - c) / length;
    const double along = QPointF::dotProduct(normal, unit);
    if (std::fabs(along) <= epsilon)
        return false; // parallel
    const double t = (QPointF::dotProduct(normal, c) - QPointF::dotProduct(normal, b)) / along;
    const QPointF x = c - t * unit;
    const auto within = [&x, epsilon](const QPointF &start, const QPointF &end) {
        const bool alongX =
            x.x() > start.x() ? x.x() - end.x() < epsilon : end.x() - x.x() < epsilon;
        const bool alongY =
            x.y() < start.y() ? end.y() - x.y() < epsilon : x.y() - end.y() < epsilon;
        return alongX && alongY;
    };
    return within(a, b) && within(c, d);
}

QRectF bounds(const QVector<QPointF> &vertices)
{
    if (vertices.isEmpty())
        return QRectF();
    double left = vertices.first().x();
    double right = left;
    double top = vertices.first().y();
    double bottom = top;
    for (const QPointF &p : vertices) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(left, top, right - left + 1e-6, bottom - top + 1e-6);
}

bool contains(const QVector<QPointF> &vertices, const QPointF &point)
{
    const int count = vertices.size();
    if (count < 3)
        return false;
    const double epsilon = 1e-5;
    for (int i = 0; i < count; ++i) {
        const QPointF &a = vertices.at(i);
        const QPointF edge = vertices.at((i + 1) % count) - a;
        const double length = squaredLength(edge);
        const double t = length > 0.0
                             ? std::clamp(QPointF::dotProduct(point - a, edge) / length, 0.0, 1.0)
                             : 0.0;
        if (squaredLength(point - (a + t * edge)) <= epsilon * epsilon)
            return true;
    }
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const QPointF &p = vertices.at(i);
        const QPointF &q = vertices.at(j);
        // Half-open in y, so a ray through a vertex counts it once.
        if ((p.y() > point.y()) != (q.y() > point.y()) &&
            point.x() < (q.x() - p.x()) * (point.y() - p.y()) / (q.y() - p.y()) + p.x())
            inside = !inside;
    }
    return inside;
}

int vertexAt(const QVector<QPointF> &vertices, const QPointF &point)
{
    for (int i = 0; i < vertices.size(); ++i) {
        const QPointF offset = vertices.at(i) - point;
        if (std::fabs(offset.x()) <= 4.0 && std::fabs(offset.y()) <= 4.0)
            return i;
    }
    return -1;
}

int edgeAt(const QVector<QPointF> &vertices, const QPointF &point, QPointF *foot)
{
    const int count = vertices.size();
    for (int i = 0; i < count; ++i) {
        const QPointF &a = vertices.at(i);
        const QPointF &b = vertices.at((i + 1) % count);
        const QPointF edge = b - a;
        const double length = squaredLength(edge);
        if (!(length > 0.0))
            continue;
        const QPointF f = a + QPointF::dotProduct(point - a, edge) / length * edge;
        if (squaredLength(point - f) <= 9.0 && QPointF::dotProduct(a - f, b - f) < 0.0) {
            if (foot)
                *foot = f;
            return i + 1;
        }
    }
    return -1;
}

} // namespace UPolygon
