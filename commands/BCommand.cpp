#include "commands/BCommand.h"

#include "app/MModel.h"
#include "document/CComposite.h"

#include <QDebug>

BCommand::BCommand(unsigned int undoMode) : m_undoMode(undoMode) {}

BCommand::~BCommand() = default;

void BCommand::reselect()
{
    if (!m_pModel)
        return;
    if (!m_collectionName.isEmpty())
        m_pModel->selectCollection(m_collectionName);
    if (m_pPanel)
        m_pModel->selectPanel(m_pPanel);
}

void BCommand::redoCommand()
{
    reselect();
    m_state = Done;
}

void BCommand::undoCommand()
{
    reselect();
    m_state = Undone;
}

void BCommand::prepare()
{
    if (!m_pModel)
        return;
    m_pModel->setModified(true);
    m_pPanel = m_pModel->currentPanel();
    CComposite *collection = m_pModel->currentCollection();
    m_collectionName = collection ? collection->name() : QString();
}

void BCommand::execute(int) {}

void BCommand::keyEvent(int, int, int, bool, int) {}

void BCommand::pointerEvent(double, double, int, int, int) {}

void BCommand::setEditMode(bool on)
{
    m_editMode = on;
}

void BCommand::selectControl(CControl *) {}

void BCommand::clearSelection() {}

QString BCommand::description() const
{
    return text();
}

void BCommand::dump() const
{
    qDebug().noquote() << "Command:" << QStringLiteral("0x%1").arg(id(), 4, 16, QLatin1Char('0'))
                       << text();
}

QString BCommand::text() const
{
    return QString();
}

int BCommand::id() const
{
    return 0;
}
