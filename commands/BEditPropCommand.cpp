#include "commands/BEditPropCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "controls/WWidget.h"
#include "document/CComposite.h"

#include <QCoreApplication>

BEditPropCommand::BEditPropCommand() : BCommand(Recorded) {}

BEditPropCommand::~BEditPropCommand() = default;

void BEditPropCommand::setTarget(WWidget *item, uint attributeId, const QVariant &value)
{
    m_pItem = item;
    m_attributeId = attributeId;
    m_newValue = value;
    m_pControl = item ? item->control() : nullptr;
    if (item && !m_pModel)
        m_pModel = item->model();
}

void BEditPropCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
}

void BEditPropCommand::execute(int)
{
    if (m_pItem)
        m_oldValue = m_pItem->attribute(m_attributeId);
    if (!m_pItem || m_oldValue == m_newValue) {
        // Nothing changes, so the document is as modified as it was.
        m_undoMode = Transient;
        if (m_pModel)
            m_pModel->setModified(m_wasModified);
    }
}

void BEditPropCommand::apply(const QVariant &value)
{
    // The control may have left the document since, or be gone for good:
    // it is only found by address in the panel the edit was made in.
    if (!m_pItem || !m_pPanel || !m_pPanel->contains(m_pControl) ||
        m_pItem->control() != m_pControl)
        return;
    m_pItem->setAttribute(m_attributeId, value);
    if (m_pModel) {
        m_pModel->selectWithPointerTool(m_pControl, Qt::NoModifier);
        m_pControl->setSelected(1);
        m_pModel->broadcast(KController::SelectionChanged);
    }
}

void BEditPropCommand::redoCommand()
{
    reselect();
    if (m_undoMode != Transient)
        apply(m_newValue);
    m_state = Done;
}

void BEditPropCommand::undoCommand()
{
    reselect();
    apply(m_oldValue);
    m_state = Undone;
}

QString BEditPropCommand::description() const
{
    const QVariant &shown = m_state == Done ? m_oldValue : m_newValue;
    return text() + QStringLiteral(": ") + shown.toString();
}

QString BEditPropCommand::text() const
{
    return QCoreApplication::translate("BEditPropCommand", "Edit");
}

int BEditPropCommand::id() const
{
    return BCommandFactory::EditProp;
}
