#pragma once

#include "commands/BCommand.h"

#include <QList>
#include <QPointF>

// What dragging and nudging share: the selection they move, how far it moved
// in all, and undo that takes back exactly that. A gesture that moved nothing
// is not recorded and leaves the modified mark as it was.
class BToolMoveCommand : public BCommand
{
public:
    BToolMoveCommand();

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;

    QPointF offset() const { return m_offset; }

protected:
    // Summed from what was applied, so undo takes back exactly that.
    QPointF m_offset;
    QList<CControl *> m_controls;

private:
    bool m_wasModified = false;
};
