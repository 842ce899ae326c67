#include "views/VGrid.h"

#include <cmath>

VGrid::VGrid(double pixelScale) : m_step(5.0 * pixelScale) {}

QPointF VGrid::snap(const QPointF &point) const
{
    if (!std::isfinite(m_step) || m_step <= 0.0)
        return point;
    const double x = point.x() - double(float(std::fmod(point.x(), m_step)));
    const double y = point.y() - double(float(std::fmod(point.y(), m_step)));
    return QPointF(x, y);
}
