#pragma once

#include <QMetaObject>
#include <QPointer>

#include <deque>
#include <memory>

class BCommand;
class KController;

// Runs commands and owns the undo and redo history (at most 100 commands
// each); enables the main controller's Undo, Redo, Undo List and Paste.
class BCommandProcessor
{
public:
    static const int MaxHistory = 100;

    static BCommandProcessor *instance();
    // Deletes the program-wide processor and its history; the next instance()
    // starts afresh.
    static void release();

    virtual ~BCommandProcessor();

    // Runs the command and files it by its undo mode; null is ignored. A
    // command whose mode is none of the three filing modes is handed back to
    // the caller, every other answer is null.
    std::unique_ptr<BCommand> process(std::unique_ptr<BCommand> command);
    void undo();
    void redo();
    // row + 1 steps, for the undo list dialog; a negative row does nothing.
    void undo(int row);
    void redo(int row);
    void clear();
    void setController(KController *controller);
    KController *controller() const;

    int undoCount() const { return int(m_undoList.size()); }
    // The command at index, oldest first; null outside the list. The
    // processor keeps owning it.
    BCommand *undoAt(int index) const;
    int redoCount() const { return int(m_redoList.size()); }
    BCommand *redoAt(int index) const;

    void updateActions();

private:
    using History = std::deque<std::unique_ptr<BCommand>>;

    BCommandProcessor();
    static void trim(History &list);
    static void clearHistory(History &list);
    static BCommand *at(const History &list, int index);
    // Moves the newest command of from to to, running it on the way.
    void step(History &from, History &to, void (BCommand::*run)());

    History m_undoList;
    History m_redoList;
    QPointer<KController> m_pController;
    QMetaObject::Connection m_clipboardConnection;
};
