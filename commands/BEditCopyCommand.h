#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

// Copy: puts the selected controls on the clipboard; the document does not
// change, so it is never listed.
class BEditCopyCommand : public BCommand
{
public:
    BEditCopyCommand();
    ~BEditCopyCommand() override;

    // Records where it was made; copying leaves the document unmodified.
    void prepare() override;
    void execute(int code) override;
    QString text() const override;
    int id() const override;

protected:
    // Collects the selection into the list and puts it on the clipboard;
    // false, with the clipboard as it was, when nothing is selected.
    bool copySelection();

    BControlList m_list;
    bool m_wasModified = false;
};

// Cut: copies the selection, then takes it out of the document; it owns the
// controls while they are out.
class BEditCutCommand : public BEditCopyCommand
{
public:
    BEditCutCommand();

    void prepare() override;
    void execute(int code) override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;
};
