#pragma once

#include "commands/BCommand.h"

#include <QList>
#include <QPointF>
#include <QRectF>

// Moves the selected controls with the pointer, on the grid and never wholly
// off the canvas; a click that moved nothing is not recorded.
class BToolDragCommand : public BCommand
{
public:
    BToolDragCommand();

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    // x, y: the displacement since the previous event.
    void pointerEvent(double x, double y, int edge, int code, int state) override;
    QString text() const override;
    int id() const override;

    // How far the controls moved in all.
    QPointF offset() const { return m_offset; }

private:
    void moveBy(const QPointF &displacement);

    // Summed from what was applied, so undo takes back exactly that.
    QPointF m_offset;
    QList<CControl *> m_controls;
    // Null while the canvas size is unknown: then nothing is refused.
    QRectF m_allowedArea;
    bool m_wasModified = false;
};
