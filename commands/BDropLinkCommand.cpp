#include "commands/BDropLinkCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "controls/MQmlInterface.h"

#include <QCoreApplication>

CControl *BDropLinkCommand::create(MQmlInterface *drop, const QPointF &point)
{
    // Only a panel still in the document is linked to.
    CComposite *target = drop->droppedPanel();
    return target ? m_pModel->createPanelLink(target, point) : nullptr;
}

QString BDropLinkCommand::text() const
{
    return QCoreApplication::translate("BDropLinkCommand", "Drop Link");
}

int BDropLinkCommand::id() const
{
    return BCommandFactory::DropLink;
}
