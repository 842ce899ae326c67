#include "commands/BToolVertexCommand.h"

#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "controls/WRegion.h"
#include "document/CControl.h"

#include <QCoreApplication>

BToolVertexCommand::BToolVertexCommand(bool inserts) : BCommand(Transient), m_inserts(inserts) {}

WRegion *BToolVertexCommand::region() const
{
    return m_pRegion;
}

void BToolVertexCommand::pointerEvent(double x, double y, int edge, int, int)
{
    if (m_pRegion || !m_pModel)
        return;
    // The region the gesture was made on; else the first selected one.
    m_pRegion = BSelection::region(m_pTargetControl);
    if (!m_pRegion) {
        for (CControl *control : BSelection::ofCurrentPanel(m_pModel)) {
            if ((m_pRegion = BSelection::region(control)))
                break;
        }
    }
    if (!m_pRegion)
        return;
    const int count = m_pRegion->vertices().size();
    // Undo must take back exactly the vertex redo touched.
    if (!m_inserts && (edge < 0 || edge >= count)) {
        m_pRegion = nullptr;
        return;
    }
    m_index = qBound(0, edge, count);
    // A new vertex lies on whole units; a deleted one comes back exactly.
    const QPointF point =
        m_inserts ? QPointF(int(float(x)), int(float(y))) : m_pRegion->vertex(edge);
    m_point = BSelection::toCanvas(m_pRegion, point);
}

void BToolVertexCommand::insert()
{
    if (!m_pRegion)
        return;
    const QPointF p = BSelection::fromCanvas(m_pRegion, m_point);
    m_pRegion->insertVertex(p.x(), p.y(), m_index);
}

void BToolVertexCommand::remove()
{
    if (m_pRegion)
        m_pRegion->removeVertex(m_index);
}

void BToolVertexCommand::redoCommand()
{
    BCommand::redoCommand();
    if (m_inserts)
        insert();
    else
        remove();
    m_undoMode = Recorded;
}

void BToolVertexCommand::undoCommand()
{
    BCommand::undoCommand();
    if (m_inserts)
        remove();
    else
        insert();
}

QString BToolDeleteVertexCommand::text() const
{
    return QCoreApplication::translate("BToolDeleteVertexCommand", "Delete Vertex");
}

int BToolDeleteVertexCommand::id() const
{
    return BCommandFactory::ToolDeleteVertex;
}

QString BToolInsertVertexCommand::text() const
{
    return QCoreApplication::translate("BToolInsertVertexCommand", "Insert Vertex");
}

int BToolInsertVertexCommand::id() const
{
    return BCommandFactory::ToolInsertVertex;
}
