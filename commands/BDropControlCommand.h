#pragma once

#include "commands/BCommand.h"
#include "commands/BControlList.h"

#include <QPointF>

class HNode;
class MQmlInterface;

// Drop Control: a design parameter, or a graphic, dropped from the project
// tree becomes a new control at the drop position.
class BDropControlCommand : public BCommand
{
public:
    BDropControlCommand();
    ~BDropControlCommand() override;

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;
    int id() const override;

    CControl *control() const { return m_control.controls().value(0); }

protected:
    // Creates what the drop names at the point, or nothing.
    virtual CControl *create(MQmlInterface *drop, const QPointF &point);

private:
    // Owns the new control while the drop is undone.
    BControlList m_control;
    HNode *m_pNode = nullptr;
    bool m_nodeWasMarked = false;
};
