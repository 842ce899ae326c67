#include "commands/BToolResizeCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "document/CControl.h"
#include "views/VGrid.h"

#include <QCoreApplication>

#include <algorithm>

BToolResizeCommand::BToolResizeCommand() : BCommand(Transient) {}

void BToolResizeCommand::prepare()
{
    BCommand::prepare();
    m_controls = BSelection::ofCurrentPanel(m_pModel);
}

void BToolResizeCommand::start(int edge)
{
    m_started = true;
    m_edge = edge;
    for (CControl *control : qAsConst(m_controls))
        m_before << BSelection::itemRects(control);
    if (m_controls.isEmpty())
        return;
    // A control already smaller than a grid step may stay so, but no edge
    // crosses the opposite one.
    const QRectF first = m_controls.first()->bounds();
    const double extent = edge == Qt::RightEdge ? first.width() : first.height();
    m_minimum = std::max(0.0, std::min(BSelection::grid(m_pModel).step(), extent));
}

void BToolResizeCommand::apply(double extent)
{
    extent = std::max(extent, m_minimum);
    for (CControl *control : qAsConst(m_controls)) {
        const QRectF b = control->bounds();
        if (m_edge == Qt::RightEdge)
            control->resizeTo(QRectF(b.x(), b.y(), extent, b.height()));
        else if (m_edge == Qt::BottomEdge)
            control->resizeTo(QRectF(b.x(), b.y(), b.width(), extent));
    }
}

void BToolResizeCommand::pointerEvent(double x, double y, int edge, int, int state)
{
    if (!m_started)
        start(edge);
    if (state == Qt::GestureUpdated && !m_controls.isEmpty()) {
        const QPointF d = BSelection::grid(m_pModel).snap(QPointF(x, y));
        const QRectF r = m_controls.first()->bounds();
        if (m_edge == Qt::RightEdge)
            apply(r.width() + d.x());
        else if (m_edge == Qt::BottomEdge)
            apply(r.height() + d.y());
    } else if (state == Qt::GestureFinished) {
        m_after.clear();
        for (CControl *control : qAsConst(m_controls))
            m_after << BSelection::itemRects(control);
        if (!m_controls.isEmpty())
            m_controls.first()->rememberSize();
        if (m_pModel)
            m_pModel->broadcast(KController::GeometryChanged);
    }
}

void BToolResizeCommand::restore(const QList<QList<QRectF>> &rects)
{
    for (int i = 0; i < m_controls.size() && i < rects.size(); ++i)
        BSelection::setItemRects(m_controls.at(i), rects.at(i));
}

void BToolResizeCommand::redoCommand()
{
    if (m_state == Undone) {
        reselect();
        restore(m_after);
    }
    m_state = Done;
    m_undoMode = Recorded;
}

void BToolResizeCommand::undoCommand()
{
    reselect();
    restore(m_before);
    m_state = Undone;
}

QString BToolResizeCommand::text() const
{
    return QCoreApplication::translate("BToolResizeCommand", "Resize");
}

int BToolResizeCommand::id() const
{
    return BCommandFactory::ToolResize;
}
