#pragma once

#include "commands/BCommand.h"

// The Redo menu command: takes one step forward through the processor and
// never enters a list itself.
class BEditRedoCommand : public BCommand
{
public:
    BEditRedoCommand();

    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;
};
