#include "commands/BDropLinkCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BDropPlacement.h"
#include "controls/MQmlInterface.h"

#include <QCoreApplication>

BDropLinkCommand::BDropLinkCommand() : BCommand(Recorded) {}

BDropLinkCommand::~BDropLinkCommand() = default;

void BDropLinkCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    MQmlInterface *drop = dropData();
    CControl *created = nullptr;
    if (m_pModel && drop) {
        m_pModel->resetPointerTool();
        m_pModel->clearSelection();
        const QPointF point = BDropPlacement::snappedPoint(m_pModel, drop);
        // Only a panel still in the document is linked to.
        if (CComposite *target = drop->droppedPanel())
            created = m_pModel->createPanelLink(target, point);
        BDropPlacement::place(m_pModel, created, point);
    }
    if (!created) {
        m_undoMode = Transient;
        if (m_pModel)
            m_pModel->setModified(wasModified);
        return;
    }
    m_control.setPlaced({created});
    m_control.select(m_pModel);
}

void BDropLinkCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        m_control.putBack(m_pModel);
        m_control.select(m_pModel);
    }
    m_state = Done;
}

void BDropLinkCommand::undoCommand()
{
    reselect();
    m_control.takeOut(m_pModel);
    m_state = Undone;
}

QString BDropLinkCommand::text() const
{
    return QCoreApplication::translate("BDropLinkCommand", "Drop Link");
}

int BDropLinkCommand::id() const
{
    return BCommandFactory::DropLink;
}
