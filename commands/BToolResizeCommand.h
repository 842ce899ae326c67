#pragma once

#include "commands/BCommand.h"

#include <QList>
#include <QRectF>

// Drags the right or bottom edge of the selection: every selected control
// takes the new width (or height) of the first, never less than one grid
// step. The size reached becomes the default of the first control's type.
class BToolResizeCommand : public BCommand
{
public:
    BToolResizeCommand();

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    // x, y: the displacement since the previous event; edge: Qt::RightEdge
    // or Qt::BottomEdge.
    void pointerEvent(double x, double y, int edge, int code, int state) override;
    QString text() const override;
    int id() const override;

private:
    void start(int edge);
    void apply(double extent);
    void restore(const QList<QList<QRectF>> &rects);

    bool m_started = false;
    int m_edge = 0;
    // The smallest extent the edge may give.
    double m_minimum = 0.0;
    QList<CControl *> m_controls;
    // Every item's rectangle before and after, per control: undo and redo
    // put back exactly what was there, whatever the items' own layout rules.
    QList<QList<QRectF>> m_before;
    QList<QList<QRectF>> m_after;
};
