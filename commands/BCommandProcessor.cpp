#include "commands/BCommandProcessor.h"

#include "app/KController.h"
#include "commands/BCommand.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {
BCommandProcessor *s_pInstance = nullptr;
const char *const ControlMimeType = "application/control";

QClipboard *guiClipboard()
{
    // The clipboard exists only in a GUI application (not in zrbtool).
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::clipboard();
}
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
    if (QClipboard *clipboard = guiClipboard())
        m_clipboardConnection =
            QObject::connect(clipboard, &QClipboard::dataChanged, [this]() { updateActions(); });
}

BCommandProcessor::~BCommandProcessor()
{
    QObject::disconnect(m_clipboardConnection);
    deleteAll(m_undoList);
    deleteAll(m_redoList);
}

void BCommandProcessor::deleteAll(QList<BCommand *> &list)
{
    const QList<BCommand *> commands = list;
    list.clear();
    qDeleteAll(commands);
}

void BCommandProcessor::trim(QList<BCommand *> &list)
{
    while (list.count() > MaxHistory)
        delete list.takeFirst();
}

void BCommandProcessor::process(BCommand *command)
{
    if (!command)
        return;
    command->redoCommand();
    // The command may have changed its mode while it ran.
    switch (command->undoMode()) {
    case BCommand::Recorded:
        m_undoList.append(command);
        trim(m_undoList);
        deleteAll(m_redoList);
        break;
    case BCommand::Transient:
        delete command;
        break;
    case BCommand::ClearsHistory:
        deleteAll(m_undoList);
        deleteAll(m_redoList);
        delete command;
        break;
    default:
        break;
    }
    updateActions();
}

void BCommandProcessor::undo()
{
    if (!m_undoList.isEmpty()) {
        BCommand *command = m_undoList.takeLast();
        command->undoCommand();
        m_redoList.append(command);
        trim(m_redoList);
    }
    updateActions();
}

void BCommandProcessor::redo()
{
    if (!m_redoList.isEmpty()) {
        BCommand *command = m_redoList.takeLast();
        command->redoCommand();
        m_undoList.append(command);
        trim(m_undoList);
    }
    updateActions();
}

void BCommandProcessor::undo(int row)
{
    for (int step = 0; step <= row && !m_undoList.isEmpty(); ++step)
        undo();
}

void BCommandProcessor::redo(int row)
{
    for (int step = 0; step <= row && !m_redoList.isEmpty(); ++step)
        redo();
}

void BCommandProcessor::clear()
{
    deleteAll(m_undoList);
    deleteAll(m_redoList);
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
    return m_undoList.value(index, nullptr);
}

BCommand *BCommandProcessor::redoAt(int index) const
{
    return m_redoList.value(index, nullptr);
}

void BCommandProcessor::updateActions()
{
    if (!m_pController)
        return;
    m_pController->setActionEnabled(UndoAction, !m_undoList.isEmpty());
    m_pController->setActionEnabled(RedoAction, !m_redoList.isEmpty());
    m_pController->setActionEnabled(UndoListAction, !m_undoList.isEmpty() || !m_redoList.isEmpty());
    QClipboard *clipboard = guiClipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    m_pController->setActionEnabled(PasteAction,
                                    data && data->hasFormat(QLatin1String(ControlMimeType)));
}
