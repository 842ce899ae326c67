#pragma once

#include <QPointF>

// The editing grid: five canvas units, scaled to pixels. Positions snap
// toward zero onto its lines.
class VGrid
{
public:
    explicit VGrid(double pixelScale);

    double step() const { return m_step; }
    // Each coordinate c becomes c - fmod(c, step), the remainder taken in
    // single precision; a grid without a usable step leaves the point alone.
    QPointF snap(const QPointF &point) const;

private:
    double m_step;
};
