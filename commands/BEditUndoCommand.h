#pragma once

#include "commands/BCommand.h"

// The Undo menu command: takes one step back through the processor and never
// enters a list itself.
class BEditUndoCommand : public BCommand
{
public:
    BEditUndoCommand();

    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;
};
