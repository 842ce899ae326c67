#include "commands/BToolReshapeCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "controls/WRegion.h"
#include "views/VGrid.h"

#include <QCoreApplication>

namespace {
// The region's reshape index that ends a vertex gesture: it normalises.
constexpr double FinishIndex = -1.0;
} // namespace

BToolReshapeCommand::BToolReshapeCommand() : BCommand(Transient) {}

void BToolReshapeCommand::pointerEvent(double x, double y, int edge, int, int state)
{
    if (state == Qt::GestureStarted && !m_started) {
        m_pRegion = BSelection::region(m_pTargetControl);
        if (!m_pRegion)
            return;
        m_started = true;
        m_index = edge;
        m_start = m_end = BSelection::toCanvas(m_pRegion, QPointF(x, y));
        return;
    }
    if (!m_started || !m_pRegion)
        return;
    if (state == Qt::GestureUpdated) {
        const QPointF p = BSelection::grid(m_pModel).snap(QPointF(x, y));
        m_pRegion->reshape(p.x(), p.y(), m_index, 1.0, 0.0, 0.0);
    } else if (state == Qt::GestureFinished) {
        m_pRegion->reshape(0.0, 0.0, FinishIndex, 1.0, 0.0, 0.0);
        m_end = BSelection::toCanvas(m_pRegion, m_pRegion->vertex(m_index));
        if (m_pModel)
            m_pModel->broadcast(KController::GeometryChanged);
    }
}

void BToolReshapeCommand::moveVertex(const QPointF &canvasPoint)
{
    if (!m_started || !m_pRegion)
        return;
    const QPointF p = BSelection::fromCanvas(m_pRegion, canvasPoint);
    m_pRegion->reshape(p.x(), p.y(), m_index, 1.0, 0.0, 0.0);
    m_pRegion->reshape(0.0, 0.0, FinishIndex, 1.0, 0.0, 0.0);
}

void BToolReshapeCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        moveVertex(m_end);
    }
    m_state = Done;
    m_undoMode = Recorded;
}

void BToolReshapeCommand::undoCommand()
{
    reselect();
    moveVertex(m_start);
    m_state = Undone;
}

QString BToolReshapeCommand::text() const
{
    return QCoreApplication::translate("BToolReshapeCommand", "Reshape");
}

int BToolReshapeCommand::id() const
{
    return BCommandFactory::ToolReshape;
}
