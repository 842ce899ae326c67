#include "commands/BLayoutOrderCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "document/CComposite.h"

#include <QCoreApplication>

void BLayoutOrderCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    m_selection = BSelection::ofCurrentPanel(m_pModel);
    if (m_pPanel) {
        for (CControl *control : qAsConst(m_selection))
            m_positions << m_pPanel->indexOf(control);
        m_order = m_pPanel->children();
    }
    if (m_selection.isEmpty() && m_pModel)
        m_pModel->setModified(wasModified);
}

void BLayoutOrderCommand::moveAll(const QList<CControl *> &controls, int index)
{
    QList<QPair<CControl *, int>> moves;
    for (CControl *control : controls)
        moves.append(qMakePair(control, index));
    m_pPanel->reorderChildren(moves);
}

void BLayoutOrderCommand::moveEach(int shift)
{
    QList<QPair<CControl *, int>> moves;
    for (int i = 0; i < m_selection.size() && i < m_positions.size(); ++i) {
        if (m_positions.at(i) >= 0)
            moves.append(qMakePair(m_selection.at(i), m_positions.at(i) + shift));
    }
    m_pPanel->reorderChildren(moves);
}

void BLayoutOrderCommand::restack()
{
    if (!m_pModel)
        return;
    for (CControl *child : m_pPanel->children())
        m_pModel->restack(child);
}

void BLayoutOrderCommand::redoCommand()
{
    BCommand::redoCommand();
    if (m_selection.isEmpty() || !m_pPanel) {
        m_undoMode = Transient;
        return;
    }
    reorder();
    restack();
}

void BLayoutOrderCommand::undoCommand()
{
    BCommand::undoCommand();
    if (!m_pPanel)
        return;
    QList<QPair<CControl *, int>> moves;
    for (int i = 0; i < m_order.size(); ++i)
        moves.append(qMakePair(m_order.at(i), i));
    m_pPanel->reorderChildren(moves);
    restack();
}

void BLayoutFrontCommand::reorder()
{
    moveAll(m_selection, m_pPanel->childCount());
}

QString BLayoutFrontCommand::text() const
{
    return QCoreApplication::translate("BLayoutOrderCommand", "Send To Front");
}

int BLayoutFrontCommand::id() const
{
    return BCommandFactory::LayoutFront;
}

void BLayoutForwardCommand::reorder()
{
    moveEach(1);
}

QString BLayoutForwardCommand::text() const
{
    return QCoreApplication::translate("BLayoutOrderCommand", "Send Forward");
}

int BLayoutForwardCommand::id() const
{
    return BCommandFactory::LayoutForward;
}

void BLayoutBackCommand::reorder()
{
    moveAll(m_selection, 1);
}

QString BLayoutBackCommand::text() const
{
    return QCoreApplication::translate("BLayoutOrderCommand", "Send To Back");
}

int BLayoutBackCommand::id() const
{
    return BCommandFactory::LayoutBack;
}

void BLayoutBackwardCommand::reorder()
{
    moveEach(-1);
}

QString BLayoutBackwardCommand::text() const
{
    return QCoreApplication::translate("BLayoutOrderCommand", "Send Backward");
}

int BLayoutBackwardCommand::id() const
{
    return BCommandFactory::LayoutBackward;
}
