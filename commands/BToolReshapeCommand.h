#pragma once

#include "commands/BCommand.h"

#include <QPointF>
#include <QPointer>

class WRegion;

// Drags one vertex of the gesture's region along the grid.
class BToolReshapeCommand : public BCommand
{
public:
    BToolReshapeCommand();

    void redoCommand() override;
    void undoCommand() override;
    // x, y: the vertex's new place in the region; edge: the vertex index.
    void pointerEvent(double x, double y, int edge, int code, int state) override;
    QString text() const override;
    int id() const override;

private:
    void moveVertex(const QPointF &canvasPoint);

    QPointer<WRegion> m_pRegion;
    int m_index = -1;
    bool m_started = false;
    // Where the vertex was and ended, on the canvas.
    QPointF m_start;
    QPointF m_end;
};
