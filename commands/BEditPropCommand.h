#pragma once

#include "commands/BCommand.h"

#include <QPointer>
#include <QVariant>

class WWidget;

// Edit: one property of a control item set to a new value by a property
// dialog; undo gives the item its old value back.
class BEditPropCommand : public BCommand
{
public:
    BEditPropCommand();
    ~BEditPropCommand() override;

    // The item, the attribute id (as the items know them) and the value wanted.
    void setTarget(WWidget *item, uint attributeId, const QVariant &value);
    void prepare() override;
    // Reads the current value as the old one; an unchanged value leaves
    // nothing to record.
    void execute(int code) override;
    void redoCommand() override;
    void undoCommand() override;
    // "Edit: " and the value undo (while done) or redo (once undone) gives.
    QString description() const override;
    QString text() const override;
    int id() const override;

private:
    void apply(const QVariant &value);

    QPointer<WWidget> m_pItem;
    CControl *m_pControl = nullptr;
    uint m_attributeId = 0;
    QVariant m_oldValue;
    QVariant m_newValue;
    bool m_wasModified = false;
};
