#include "commands/BToolDragCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "document/CControl.h"
#include "views/VGrid.h"

#include <QCoreApplication>

namespace {
// The selection must keep some part inside this margin of the canvas.
constexpr double Margin = 15.0;
} // namespace

void BToolDragCommand::prepare()
{
    BToolMoveCommand::prepare();
    const QSizeF canvas = BSelection::canvasSize(m_pModel);
    if (canvas.width() > Margin && canvas.height() > Margin)
        m_allowedArea = QRectF(Margin, Margin, canvas.width() - Margin, canvas.height() - Margin);
}

void BToolDragCommand::moveBy(const QPointF &displacement)
{
    if (m_controls.isEmpty() || displacement.isNull())
        return;
    const QRectF moved = BSelection::bounds(m_controls).translated(displacement);
    if (!m_allowedArea.isNull() && !moved.intersects(m_allowedArea))
        return;
    BSelection::moveBy(m_controls, displacement);
    m_offset += displacement;
}

void BToolDragCommand::pointerEvent(double x, double y, int, int, int state)
{
    // The press itself moves nothing.
    switch (state) {
    case Qt::GestureUpdated:
        moveBy(BSelection::grid(m_pModel).snap(QPointF(x, y)));
        break;
    case Qt::GestureFinished:
        moveBy(BSelection::grid(m_pModel).snap(QPointF(x, y)));
        if (m_pModel)
            m_pModel->broadcast(KController::GeometryChanged);
        break;
    default:
        break;
    }
}

QString BToolDragCommand::text() const
{
    return QCoreApplication::translate("BToolDragCommand", "Drag");
}

int BToolDragCommand::id() const
{
    return BCommandFactory::ToolDrag;
}
