#include "commands/BCommandProcessor.h"

#include "app/KMainController.h"
#include "commands/BClipboard.h"
#include "commands/BCommand.h"

#include <QClipboard>

namespace {
BCommandProcessor *s_pInstance = nullptr;
} // namespace

BCommandProcessor *BCommandProcessor::instance()
{
    if (!s_pInstance)
        s_pInstance = new BCommandProcessor;
    return s_pInstance;
}

void BCommandProcessor::release()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

BCommandProcessor::BCommandProcessor()
{
    // Paste follows the clipboard, not only the edits.
    if (QClipboard *clipboard = BClipboard::clipboard())
        m_clipboardConnection =
            QObject::connect(clipboard, &QClipboard::dataChanged, [this]() { updateActions(); });
}

BCommandProcessor::~BCommandProcessor()
{
    QObject::disconnect(m_clipboardConnection);
    clearHistory(m_undoList);
    clearHistory(m_redoList);
}

void BCommandProcessor::clearHistory(History &list)
{
    // Taken out first, so no command is reachable through the list while the
    // commands are deleted.
    History doomed;
    doomed.swap(list);
}

void BCommandProcessor::trim(History &list)
{
    while (list.size() > std::size_t(MaxHistory))
        list.pop_front();
}

BCommand *BCommandProcessor::at(const History &list, int index)
{
    if (index < 0 || std::size_t(index) >= list.size())
        return nullptr;
    return list[std::size_t(index)].get();
}

std::unique_ptr<BCommand> BCommandProcessor::process(std::unique_ptr<BCommand> command)
{
    if (!command)
        return nullptr;
    command->redoCommand();
    // The command may have changed its mode while it ran.
    switch (command->undoMode()) {
    case BCommand::Recorded:
        m_undoList.push_back(std::move(command));
        trim(m_undoList);
        clearHistory(m_redoList);
        break;
    case BCommand::Transient:
        command.reset();
        break;
    case BCommand::ClearsHistory:
        clearHistory(m_undoList);
        clearHistory(m_redoList);
        command.reset();
        break;
    default:
        break;
    }
    updateActions();
    return command;
}

void BCommandProcessor::step(History &from, History &to, void (BCommand::*run)())
{
    if (!from.empty()) {
        std::unique_ptr<BCommand> command = std::move(from.back());
        from.pop_back();
        (command.get()->*run)();
        to.push_back(std::move(command));
        trim(to);
    }
    updateActions();
}

void BCommandProcessor::undo()
{
    step(m_undoList, m_redoList, &BCommand::undoCommand);
}

void BCommandProcessor::redo()
{
    step(m_redoList, m_undoList, &BCommand::redoCommand);
}

void BCommandProcessor::undo(int row)
{
    for (int taken = 0; taken <= row && !m_undoList.empty(); ++taken)
        undo();
}

void BCommandProcessor::redo(int row)
{
    for (int taken = 0; taken <= row && !m_redoList.empty(); ++taken)
        redo();
}

void BCommandProcessor::clear()
{
    clearHistory(m_undoList);
    clearHistory(m_redoList);
    updateActions();
}

void BCommandProcessor::setController(KController *controller)
{
    m_pController = controller;
    updateActions();
}

KController *BCommandProcessor::controller() const
{
    return m_pController;
}

BCommand *BCommandProcessor::undoAt(int index) const
{
    return at(m_undoList, index);
}

BCommand *BCommandProcessor::redoAt(int index) const
{
    return at(m_redoList, index);
}

void BCommandProcessor::updateActions()
{
    if (!m_pController)
        return;
    m_pController->setActionEnabled(KMainController::UndoAction, !m_undoList.empty());
    m_pController->setActionEnabled(KMainController::RedoAction, !m_redoList.empty());
    m_pController->setActionEnabled(KMainController::UndoListAction,
                                    !m_undoList.empty() || !m_redoList.empty());
    m_pController->setActionEnabled(KMainController::PasteAction,
                                    BClipboard::offersControls(BClipboard::data()));
}
