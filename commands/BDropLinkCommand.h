#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

// Drop Link: a panel dropped from the project tree's links becomes a link
// control to it at the drop position.
class BDropLinkCommand : public BCommand
{
public:
    BDropLinkCommand();
    ~BDropLinkCommand() override;

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

    CControl *control() const { return m_control.controls().value(0); }

private:
    // Owns the new link while the drop is undone.
    BControlList m_control;
};
