#include "commands/BEditDeleteCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"

#include <QCoreApplication>

BEditDeleteCommand::BEditDeleteCommand() : BCommand(Transient) {}

BEditDeleteCommand::~BEditDeleteCommand() = default;

void BEditDeleteCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
}

void BEditDeleteCommand::execute(int)
{
    m_list.setPlaced(BControlList::selection(m_pModel));
    if (m_list.isEmpty() && m_pModel)
        m_pModel->setModified(m_wasModified);
}

void BEditDeleteCommand::redoCommand()
{
    reselect();
    if (!m_list.isEmpty()) {
        m_list.takeOut(m_pModel);
        // Only a delete that took something out is worth undoing.
        m_undoMode = Recorded;
    }
    m_state = Done;
}

void BEditDeleteCommand::undoCommand()
{
    reselect();
    m_list.putBack(m_pModel);
    m_list.select(m_pModel);
    m_state = Undone;
}

QString BEditDeleteCommand::text() const
{
    return QCoreApplication::translate("BEditDeleteCommand", "Delete");
}

int BEditDeleteCommand::id() const
{
    return BCommandFactory::EditDelete;
}
