#include "commands/BAlignCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BSelection.h"
#include "document/CControl.h"

#include <QCoreApplication>
#include <QGuiApplication>

BAlignCommand::BAlignCommand() : BCommand(Recorded) {}

void BAlignCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
    m_selection = BSelection::ofCurrentPanel(m_pModel);
    for (CControl *control : qAsConst(m_selection))
        m_saved << control->bounds();
    // Nothing to arrange is no edit.
    if (m_selection.isEmpty() && m_pModel)
        m_pModel->setModified(wasModified);
}

QPointF BAlignCommand::offset(const QRectF &c, const QRectF &r, int alignment)
{
    QPointF d;
    if (alignment & Qt::AlignLeft)
        d.setX(r.x() - c.x());
    else if (alignment & Qt::AlignRight)
        d.setX((r.x() + r.width()) - (c.x() + c.width()));
    else if (alignment & Qt::AlignHCenter)
        d.setX((r.x() + 0.5 * r.width()) - (c.x() + 0.5 * c.width()));
    if (alignment & Qt::AlignTop)
        d.setY(r.y() - c.y());
    else if (alignment & Qt::AlignBottom)
        d.setY((r.y() + r.height()) - (c.y() + c.height()));
    else if (alignment & Qt::AlignVCenter)
        d.setY((r.y() + 0.5 * r.height()) - (c.y() + 0.5 * c.height()));
    return d;
}

QRectF BAlignCommand::selectionRect() const
{
    for (CControl *control : m_selection) {
        if (control->findItem(QStringLiteral("bounds")))
            return control->bounds();
    }
    return BSelection::bounds(m_selection);
}

Qt::KeyboardModifiers BAlignCommand::keyModifiers()
{
    if (!m_keys)
        m_keys = QGuiApplication::keyboardModifiers();
    return *m_keys;
}

void BAlignCommand::arrange()
{
    const QRectF reference = selectionRect();
    for (CControl *control : qAsConst(m_selection)) {
        const QPointF d = offset(control->bounds(), reference, m_alignment);
        control->moveBy(d.x(), d.y());
    }
}

void BAlignCommand::centreOnCanvas()
{
    const QSizeF canvas = BSelection::canvasSize(m_pModel);
    if (canvas.isEmpty())
        return;
    BSelection::moveBy(m_selection,
                       offset(selectionRect(), QRectF(QPointF(), canvas), m_alignment));
}

void BAlignCommand::redoCommand()
{
    BCommand::redoCommand();
    if (m_selection.isEmpty()) {
        m_undoMode = Transient;
        return;
    }
    arrange();
}

void BAlignCommand::undoCommand()
{
    BCommand::undoCommand();
    for (int i = 0; i < m_selection.size() && i < m_saved.size(); ++i) {
        CControl *control = m_selection.at(i);
        const QPointF back = m_saved.at(i).topLeft() - control->bounds().topLeft();
        control->moveBy(back.x(), back.y());
    }
}

QString BAlignCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align???");
}

void BAlignHCenterCommand::arrange()
{
    if (keyModifiers() & Qt::ShiftModifier)
        centreOnCanvas();
    else
        BAlignCommand::arrange();
}

void BAlignVCenterCommand::arrange()
{
    if (keyModifiers() == Qt::ShiftModifier)
        centreOnCanvas();
    else
        BAlignCommand::arrange();
}

QString BAlignLeftCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Left");
}

int BAlignLeftCommand::id() const
{
    return BCommandFactory::AlignLeft;
}

QString BAlignRightCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Right");
}

int BAlignRightCommand::id() const
{
    return BCommandFactory::AlignRight;
}

QString BAlignTopCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Top");
}

int BAlignTopCommand::id() const
{
    return BCommandFactory::AlignTop;
}

QString BAlignBottomCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Bottom");
}

int BAlignBottomCommand::id() const
{
    return BCommandFactory::AlignBottom;
}

QString BAlignHCenterCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Horizontal Center");
}

int BAlignHCenterCommand::id() const
{
    return BCommandFactory::AlignHCenter;
}

QString BAlignVCenterCommand::text() const
{
    return QCoreApplication::translate("BAlignCommand", "Align Vertical Center");
}

int BAlignVCenterCommand::id() const
{
    return BCommandFactory::AlignVCenter;
}
