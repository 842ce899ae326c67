#include "commands/BToolNudgeCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "views/VGrid.h"

#include <QCoreApplication>

BToolNudgeCommand::BToolNudgeCommand() : BCommand(Transient) {}

QPointF BToolNudgeCommand::arrowStep(int key, double step)
{
    switch (key) {
    case Qt::Key_Left:
        return QPointF(-step, 0.0);
    case Qt::Key_Up:
        return QPointF(0.0, -step);
    case Qt::Key_Right:
        return QPointF(step, 0.0);
    case Qt::Key_Down:
        return QPointF(0.0, step);
    default:
        return QPointF();
    }
}

void BToolNudgeCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    m_controls = BSelection::ofCurrentPanel(m_pModel);
}

void BToolNudgeCommand::keyEvent(int key, int modifiers, int, bool repeat, int state)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        m_cancelled = true;
    if (m_cancelled)
        return;
    if (state == Qt::GestureStarted) {
        if (!m_started) {
            m_started = true;
            m_snap = modifiers != Qt::ShiftModifier;
        }
        const double step = m_snap ? BSelection::grid(m_pModel).step() : 1.0;
        const QPointF d = arrowStep(key, step);
        if (m_controls.isEmpty())
            return;
        BSelection::moveBy(m_controls, d);
        m_offset += d;
    } else if (state == Qt::GestureFinished && !repeat && m_pModel) {
        m_pModel->broadcast(KController::GeometryChanged);
    }
}

void BToolNudgeCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        BSelection::moveBy(m_controls, m_offset);
    }
    m_state = Done;
    // Whatever moved before a cancelling key is still recorded.
    m_undoMode = m_offset.isNull() ? Transient : Recorded;
    if (m_offset.isNull() && m_pModel)
        m_pModel->setModified(m_wasModified);
}

void BToolNudgeCommand::undoCommand()
{
    reselect();
    BSelection::moveBy(m_controls, -m_offset);
    m_state = Undone;
}

QString BToolNudgeCommand::text() const
{
    return QCoreApplication::translate("BToolNudgeCommand", "Nudge");
}

int BToolNudgeCommand::id() const
{
    return BCommandFactory::ToolNudge;
}
