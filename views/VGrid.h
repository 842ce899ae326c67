#pragma once

#include <QPointF>

// The editing grid: drops, moves and arrow steps land on multiples of five
// canvas units at the current pixel scale.
class VGrid
{
public:
    explicit VGrid(double pixelScale);

    double step() const { return m_step; }
    // Each coordinate moves toward zero to a multiple of the step.
    QPointF snap(const QPointF &point) const;
    double snap(double coordinate) const;
    // The move of one arrow key: a grid step when snapping, else one pixel;
    // any other key moves nothing.
    QPointF arrowStep(int key, bool snapToGrid) const;

private:
    double m_step = 0.0;
};
