#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

// Delete: takes the selected controls out of the document; it owns them
// while they are out, and is listed once it has run.
class BEditDeleteCommand : public BCommand
{
public:
    BEditDeleteCommand();
    ~BEditDeleteCommand() override;

    void prepare() override;
    void execute(int code) override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

private:
    BControlList m_list;
    bool m_wasModified = false;
};
