#include "commands/BToolNudgeCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "views/VGrid.h"

#include <QCoreApplication>

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
        const QPointF d = BSelection::grid(m_pModel).arrowStep(key, m_snap);
        if (m_controls.isEmpty())
            return;
        BSelection::moveBy(m_controls, d);
        m_offset += d;
    } else if (state == Qt::GestureFinished && !repeat && m_pModel) {
        m_pModel->broadcast(KController::GeometryChanged);
    }
}

QString BToolNudgeCommand::text() const
{
    return QCoreApplication::translate("BToolNudgeCommand", "Nudge");
}

int BToolNudgeCommand::id() const
{
    return BCommandFactory::ToolNudge;
}
