#include "commands/BToolSelectCommand.h"

#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "document/CComposite.h"

#include <QCoreApplication>

BToolSelectCommand::BToolSelectCommand() : BCommand(Transient) {}

BToolSelectCommand::~BToolSelectCommand() = default;

void BToolSelectCommand::prepare()
{
    // Selecting is not an edit: the document stays unmodified.
}

QList<CControl *> BToolSelectCommand::selection() const
{
    QList<CControl *> selected;
    if (m_pModel && m_pModel->documentRoot())
        m_pModel->documentRoot()->collectSelected(selected);
    return selected;
}

void BToolSelectCommand::unselectAll()
{
    for (CControl *control : selection())
        control->setSelected(0);
}

void BToolSelectCommand::selectControl(CControl *control)
{
    if (!control)
        return;
    if (m_modifiers != Qt::ShiftModifier && control->selectionState() != 1) {
        unselectAll();
        if (m_pModel)
            m_pModel->broadcast(KController::SelectionChanged);
    }
    control->setSelected(1);
}

void BToolSelectCommand::execute(int code)
{
    if (code == 0) {
        for (CControl *control : selection())
            control->setSelected(1);
    } else if (code == 1) {
        endGesture();
        unselectAll();
    } else {
        return;
    }
    if (m_pModel)
        m_pModel->broadcast(KController::SelectionChanged);
}

void BToolSelectCommand::setEditMode(bool on)
{
    BCommand::setEditMode(on);
    if (!on)
        execute(1);
}

void BToolSelectCommand::clearSelection()
{
    // The controls the gesture holds go with the document.
    m_pActive.reset();
    m_pTargetControl = nullptr;
}

std::unique_ptr<BCommand> BToolSelectCommand::createTool(int code) const
{
    return BCommandFactory::instance()->create(code);
}

bool BToolSelectCommand::begin(int code)
{
    // Events of another tool mean the old gesture lost its end.
    if (m_pActive && m_pActive->id() != code)
        endGesture();
    if (!m_pActive) {
        m_pActive = createTool(code);
        if (!m_pActive)
            return false;
        m_pActive->setModel(m_pModel);
        m_pActive->setTargetControl(m_pTargetControl);
        m_pActive->prepare();
    }
    return true;
}

void BToolSelectCommand::pointerEvent(double x, double y, int edge, int code, int state)
{
    if (!begin(code))
        return;
    m_lastEdge = edge;
    // Held here while it runs, so a cancel arriving meanwhile cannot take it
    // away under its own feet.
    std::unique_ptr<BCommand> tool = std::move(m_pActive);
    tool->pointerEvent(x, y, edge, code, state);
    if (state == Qt::GestureFinished || m_pActive)
        finish(std::move(tool));
    else
        m_pActive = std::move(tool);
}

void BToolSelectCommand::keyEvent(int key, int modifiers, int code, bool repeat, int state)
{
    if (!begin(code))
        return;
    m_lastKey = key;
    std::unique_ptr<BCommand> tool = std::move(m_pActive);
    tool->keyEvent(key, modifiers, code, repeat, state);
    // A held key repeats its release too; only the real one ends the press.
    if ((state == Qt::GestureFinished && !repeat) || m_pActive)
        finish(std::move(tool));
    else
        m_pActive = std::move(tool);
}

void BToolSelectCommand::finish(std::unique_ptr<BCommand> tool)
{
    m_pTargetControl = nullptr;
    // A tool never asks to be handed back; the processor keeps or deletes it.
    BCommandProcessor::instance()->process(std::move(tool));
}

void BToolSelectCommand::endGesture()
{
    if (!m_pActive)
        return;
    std::unique_ptr<BCommand> tool = std::move(m_pActive);
    if (tool->id() == BCommandFactory::ToolNudge)
        tool->keyEvent(m_lastKey, 0, tool->id(), false, Qt::GestureFinished);
    else
        tool->pointerEvent(0.0, 0.0, m_lastEdge, tool->id(), Qt::GestureFinished);
    finish(std::move(tool));
}

QString BToolSelectCommand::text() const
{
    return QCoreApplication::translate("BToolSelectCommand", "Select");
}

int BToolSelectCommand::id() const
{
    return BCommandFactory::ToolSelect;
}
