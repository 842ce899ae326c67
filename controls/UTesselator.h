#pragma once

#include <QPointF>
#include <QVector>

// Fills concave polygons: the signed area of a contour and its triangulation
// by ear clipping. It keeps no state, so the scene graph may use it from its
// render thread.
class UTesselator
{
public:
    // Created on first use, released at exit.
    static UTesselator *instance();
    virtual ~UTesselator();

    // Half the sum of the edges' cross products, in single precision:
    // positive for a contour turning counter-clockwise with y pointing up.
    float area(const QVector<QPointF> &contour) const;

    // Appends three corners per triangle, in the order the ears are clipped.
    // Fails, appending nothing, for fewer than three points, for coordinates
    // beyond MaxReach or not finite, and for contours that are not simple
    // (no ear is found within twice the remaining vertex count of tries).
    bool triangulate(const QVector<QPointF> &contour, QVector<QPointF> *triangles) const;

    // Beyond this, the products of the ear test would leave single precision.
    static constexpr double MaxReach = 1e18;

private:
    UTesselator() = default;
};
