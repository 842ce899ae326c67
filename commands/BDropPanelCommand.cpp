#include "commands/BDropPanelCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BDropPlacement.h"
#include "controls/MQmlInterface.h"
#include "design/HNode.h"
#include "document/CComposite.h"

#include <QCoreApplication>

BDropPanelCommand::BDropPanelCommand() : BCommand(Recorded) {}

BDropPanelCommand::~BDropPanelCommand() = default;

CComposite *BDropPanelCommand::newPanel() const
{
    return static_cast<CComposite *>(m_panel.controls().value(0));
}

void BDropPanelCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    HNode *node = m_pModel && dropData() ? dropData()->droppedNode() : nullptr;
    const bool marked = node && node->isMarked();
    // The model refuses a seventh panel with its own warning.
    CComposite *panel = node ? m_pModel->addPanel(node) : nullptr;
    if (panel) {
        m_pModel->resetPointerTool();
        m_pModel->clearSelection();
        m_pModel->selectPanel(panel);
        m_pModel->refreshCanvasController();
        m_pNode = node;
        m_nodeWasMarked = marked;
        node->setMarked(true);
        m_pCollection = panel->parent();
        m_panel.setPlaced({panel});
        m_pModel->broadcast(KController::PanelsChanged);
    }
    // Recorded after the panel is current, so undo and redo come back to it.
    BCommand::prepare();
    if (!panel) {
        m_undoMode = Transient;
        if (m_pModel)
            m_pModel->setModified(wasModified);
    }
}

void BDropPanelCommand::redoCommand()
{
    if (m_state == Undone && m_pModel) {
        // The panel is not in its collection yet, so it cannot be selected
        // before it is put back.
        m_pModel->selectCollection(m_collectionName);
        m_panel.putBack(m_pModel);
        m_pModel->selectPanel(newPanel());
        // The page strip only: laying the document out again would move its
        // controls by rounding.
        m_pModel->setQmlProperty("pageCount", m_pCollection->childCount());
        BDropPlacement::markNode(m_pModel, m_pNode, true);
        m_pModel->broadcast(KController::PanelsChanged);
    }
    m_state = Done;
}

void BDropPanelCommand::undoCommand()
{
    reselect();
    const int index = m_pCollection ? m_pCollection->indexOf(newPanel()) : -1;
    if (m_pModel && index >= 0) {
        m_panel.takeOut(m_pModel);
        // The panel before it is shown, or the last one when it was the first.
        const int count = m_pCollection->childCount();
        m_pModel->setPage(count == 0 ? 0 : (index > 0 ? index - 1 : count - 1));
        m_pModel->setQmlProperty("pageCount", count);
        BDropPlacement::markNode(m_pModel, m_pNode, m_nodeWasMarked);
        m_pModel->broadcast(KController::PanelsChanged);
    }
    m_state = Undone;
}

QString BDropPanelCommand::text() const
{
    return QCoreApplication::translate("BDropPanelCommand", "Drop Panel");
}

int BDropPanelCommand::id() const
{
    return BCommandFactory::DropPanel;
}
