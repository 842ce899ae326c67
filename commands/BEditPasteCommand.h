#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

// Paste: the controls on the clipboard become new controls of the current
// panel; it owns them while the paste is undone.
class BEditPasteCommand : public BCommand
{
public:
    BEditPasteCommand();
    ~BEditPasteCommand() override;

    void prepare() override;
    void execute(int code) override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

    QList<CControl *> controls() const { return m_list.controls(); }

private:
    // Reads the clipboard's controls aside; false, with a message when the
    // clipboard held text that is no control list, when nothing came of it.
    bool readClipboard(CComposite *panel);
    // A pasted control whose id the document already uses gets a new one.
    void giveFreeIds(CComposite *pasted);

    BControlList m_list;
    bool m_wasModified = false;
};
