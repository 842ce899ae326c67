#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// The plane geometry of a region's polygon: its text form, how it can be
// filled, and what lies under the pointer. Points are in item coordinates.
namespace UPolygon {

enum FillMode : quint8
{
    Convex = 0,          // drawn as a triangle fan
    Concave = 1,         // triangulated
    SelfIntersecting = 2 // outline only
};

// Larger polygons are kept but not filled: their triangles would need more
// vertices than 16-bit indices address.
constexpr int MaxFilledVertices = 65535 / 3 + 2;
// Larger outlines are not drawn.
constexpr int MaxDrawnVertices = 65535;

// "x,y " pairs; tokens without a number on both sides of their first ","
// are skipped, coordinates that are not finite too, and the rest clamped to
// what a canvas can hold.
QVector<QPointF> parse(const QString &text);
// Each pair with up to six significant digits and followed by a space.
QString format(const QVector<QPointF> &vertices);

// The contour to fill: repeated points and points on the straight line
// between their neighbours removed, as they add nothing to the area but
// would stop the triangulation.
QVector<QPointF> fillContour(const QVector<QPointF> &vertices);
// Convex, concave or self-intersecting; SelfIntersecting also for contours
// too large to fill.
FillMode classify(const QVector<QPointF> &contour);
// Whether the edges a-b and c-d meet (with a tolerance of 1e-4).
bool edgesCross(const QPointF &a, const QPointF &b, const QPointF &c, const QPointF &d);

// The union of 1e-6 squares at the vertices; empty without vertices.
QRectF bounds(const QVector<QPointF> &vertices);
// Inside by the even-odd rule; a point on the outline is inside.
bool contains(const QVector<QPointF> &vertices, const QPointF &point);
// The first vertex within 4 on both axes; -1 for none.
int vertexAt(const QVector<QPointF> &vertices, const QPointF &point);
// The insertion index (end vertex) of the first edge within 3 of the point
// whose foot of the perpendicular lies strictly between its ends, with that
// foot; -1 for none.
int edgeAt(const QVector<QPointF> &vertices, const QPointF &point, QPointF *foot);

} // namespace UPolygon
