#pragma once

#include "commands/BCommand.h"

#include <QList>
#include <QPointF>

// Moves the selected controls with the arrow keys: a grid step per press or
// repeat, one pixel with Shift; a whole held press is one step of undo.
class BToolNudgeCommand : public BCommand
{
public:
    BToolNudgeCommand();

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    void keyEvent(int key, int modifiers, int code, bool repeat, int state) override;
    QString text() const override;
    int id() const override;

    // The move of one arrow key; (0, 0) for any other key.
    static QPointF arrowStep(int key, double step);

    QPointF offset() const { return m_offset; }
    bool isCancelled() const { return m_cancelled; }

private:
    bool m_started = false;
    bool m_snap = true;
    // Control and Alt with an arrow belong to the align and distribute
    // shortcuts: from then on the keys move nothing.
    bool m_cancelled = false;
    QPointF m_offset;
    QList<CControl *> m_controls;
    bool m_wasModified = false;
};
