#pragma once

#include "commands/BToolMoveCommand.h"

// Moves the selected controls with the arrow keys: a grid step per press or
// repeat, one pixel with Shift; a whole held press is one step of undo.
class BToolNudgeCommand : public BToolMoveCommand
{
public:
    void keyEvent(int key, int modifiers, int code, bool repeat, int state) override;
    QString text() const override;
    int id() const override;

    bool isCancelled() const { return m_cancelled; }

private:
    bool m_started = false;
    bool m_snap = true;
    // Control and Alt with an arrow belong to the align and distribute
    // shortcuts: from then on the keys move nothing.
    bool m_cancelled = false;
};
