#include "commands/BEditUndoCommand.h"

#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"

#include <QCoreApplication>

BEditUndoCommand::BEditUndoCommand()
{
    m_undoMode = Transient;
}

void BEditUndoCommand::redoCommand()
{
    BCommandProcessor::instance()->undo();
    m_state = Done;
}

void BEditUndoCommand::undoCommand() {}

QString BEditUndoCommand::text() const
{
    return QCoreApplication::translate("BEditUndoCommand", "Undo");
}

int BEditUndoCommand::id() const
{
    return BCommandFactory::EditUndo;
}
