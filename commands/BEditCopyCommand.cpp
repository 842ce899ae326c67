#include "commands/BEditCopyCommand.h"

#include "app/MModel.h"
#include "commands/BClipboard.h"
#include "commands/BCommandFactory.h"

#include <QCoreApplication>

BEditCopyCommand::BEditCopyCommand() : BCommand(Transient) {}

BEditCopyCommand::~BEditCopyCommand() = default;

void BEditCopyCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    if (m_pModel)
        m_pModel->setModified(m_wasModified);
}

bool BEditCopyCommand::copySelection()
{
    m_list.setPlaced(BControlList::selection(m_pModel));
    QByteArray xml;
    if (m_list.isEmpty() || !BClipboard::write(m_list.controls(), xml))
        return false;
    BClipboard::put(xml);
    return true;
}

void BEditCopyCommand::execute(int)
{
    copySelection();
}

QString BEditCopyCommand::text() const
{
    return QCoreApplication::translate("BEditCopyCommand", "Copy");
}

int BEditCopyCommand::id() const
{
    return BCommandFactory::EditCopy;
}

BEditCutCommand::BEditCutCommand()
{
    m_undoMode = Recorded;
}

void BEditCutCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
}

void BEditCutCommand::execute(int)
{
    if (copySelection())
        return;
    m_undoMode = Transient;
    if (m_pModel)
        m_pModel->setModified(m_wasModified);
}

void BEditCutCommand::redoCommand()
{
    reselect();
    m_list.takeOut(m_pModel);
    m_state = Done;
}

void BEditCutCommand::undoCommand()
{
    reselect();
    m_list.putBack(m_pModel);
    m_list.select(m_pModel);
    m_state = Undone;
}

QString BEditCutCommand::text() const
{
    return QCoreApplication::translate("BEditCutCommand", "Cut");
}

int BEditCutCommand::id() const
{
    return BCommandFactory::EditCut;
}
