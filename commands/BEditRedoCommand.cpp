#include "commands/BEditRedoCommand.h"

#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"

#include <QCoreApplication>
#include <QDebug>

BEditRedoCommand::BEditRedoCommand()
{
    m_undoMode = Transient;
}

void BEditRedoCommand::redoCommand()
{
    BCommandProcessor::instance()->redo();
    m_state = Done;
}

void BEditRedoCommand::undoCommand()
{
    qDebug() << "BEditRedoCommand::undoCommand";
}

QString BEditRedoCommand::text() const
{
    return QCoreApplication::translate("BEditRedoCommand", "Redo");
}

int BEditRedoCommand::id() const
{
    return BCommandFactory::EditRedo;
}
