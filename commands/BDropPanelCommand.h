#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

class HNode;

// Drop Panel: a design object dropped as a whole becomes a new panel of the
// current collection, made from its module template.
class BDropPanelCommand : public BCommand
{
public:
    BDropPanelCommand();
    ~BDropPanelCommand() override;

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

    CComposite *newPanel() const;

private:
    // Owns the new panel while the drop is undone.
    BControlList m_panel;
    CComposite *m_pCollection = nullptr;
    HNode *m_pNode = nullptr;
    bool m_nodeWasMarked = false;
};
