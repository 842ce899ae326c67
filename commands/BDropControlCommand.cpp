#include "commands/BDropControlCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BDropPlacement.h"
#include "controls/MQmlInterface.h"
#include "design/HNode.h"

#include <QCoreApplication>

BDropControlCommand::BDropControlCommand() : BCommand(Recorded) {}

BDropControlCommand::~BDropControlCommand() = default;

void BDropControlCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    MQmlInterface *drop = dropData();
    CControl *created = nullptr;
    if (m_pModel && drop) {
        const QPointF point = BDropPlacement::snappedPoint(m_pModel, drop);
        m_pModel->resetPointerTool();
        m_pModel->clearSelection();
        created = create(drop, point);
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

CControl *BDropControlCommand::create(MQmlInterface *drop, const QPointF &point)
{
    if (drop->dropNode() == 0)
        return m_pModel->createGraphicControl(drop->dropText(), point);
    // A payload that names no object of the design creates nothing.
    HNode *node = drop->droppedNode();
    if (!node)
        return nullptr;
    const bool marked = node->isMarked();
    CControl *created = m_pModel->createNodeControl(node, drop->dropText(), point);
    if (created) {
        m_pNode = node;
        m_nodeWasMarked = marked;
        node->setMarked(true);
    }
    return created;
}

void BDropControlCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        m_control.putBack(m_pModel);
        BDropPlacement::markNode(m_pModel, m_pNode, true);
        m_control.select(m_pModel);
    }
    m_state = Done;
}

void BDropControlCommand::undoCommand()
{
    reselect();
    m_control.takeOut(m_pModel);
    BDropPlacement::markNode(m_pModel, m_pNode, m_nodeWasMarked);
    m_state = Undone;
}

QString BDropControlCommand::text() const
{
    return QCoreApplication::translate("BDropControlCommand", "Drop Control");
}

int BDropControlCommand::id() const
{
    return BCommandFactory::DropControl;
}
