#pragma once

#include "commands/BToolMoveCommand.h"

#include <QRectF>

// Moves the selected controls with the pointer, on the grid and never wholly
// off the canvas; a click that moved nothing is not recorded.
class BToolDragCommand : public BToolMoveCommand
{
public:
    void prepare() override;
    // x, y: the displacement since the previous event.
    void pointerEvent(double x, double y, int edge, int code, int state) override;
    QString text() const override;
    int id() const override;

private:
    void moveBy(const QPointF &displacement);

    // Null while the canvas size is unknown: then nothing is refused.
    QRectF m_allowedArea;
};
