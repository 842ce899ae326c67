#include "commands/BToolMoveCommand.h"

#include "app/MModel.h"
#include "commands/BSelection.h"

BToolMoveCommand::BToolMoveCommand() : BCommand(Transient) {}

void BToolMoveCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    m_controls = BSelection::ofCurrentPanel(m_pModel);
}

void BToolMoveCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        BSelection::moveBy(m_controls, m_offset);
    }
    m_state = Done;
    m_undoMode = m_offset.isNull() ? Transient : Recorded;
    if (m_offset.isNull() && m_pModel)
        m_pModel->setModified(m_wasModified);
}

void BToolMoveCommand::undoCommand()
{
    reselect();
    BSelection::moveBy(m_controls, -m_offset);
    m_state = Undone;
}
