#include "views/VGrid.h"

#include <Qt>
#include <QtMath>

#include <cmath>

VGrid::VGrid(double pixelScale) : m_step(5.0 * pixelScale) {}

double VGrid::snap(double coordinate) const
{
    // A scale of zero (a canvas not laid out yet) has no grid to snap to.
    if (!(m_step > 0.0) || !qIsFinite(m_step) || !qIsFinite(coordinate))
        return coordinate;
    const float remainder = float(std::fmod(coordinate, m_step));
    return coordinate - double(remainder);
}

QPointF VGrid::snap(const QPointF &point) const
{
    return QPointF(snap(point.x()), snap(point.y()));
}

QPointF VGrid::arrowStep(int key, bool snapToGrid) const
{
    const double s = snapToGrid ? m_step : 1.0;
    switch (key) {
    case Qt::Key_Left:
        return QPointF(-s, 0.0);
    case Qt::Key_Up:
        return QPointF(0.0, -s);
    case Qt::Key_Right:
        return QPointF(s, 0.0);
    case Qt::Key_Down:
        return QPointF(0.0, s);
    default:
        return QPointF();
    }
}
