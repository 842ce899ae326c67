#pragma once

#include "commands/BDropControlCommand.h"

// Drop Link: a panel dropped from the project tree's links becomes a link
// control to it at the drop position.
class BDropLinkCommand : public BDropControlCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    CControl *create(MQmlInterface *drop, const QPointF &point) override;
};
