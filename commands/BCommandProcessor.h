#pragma once

#include <QList>
#include <QMetaObject>
#include <QPointer>

class BCommand;
class KController;

// Runs commands and keeps the undo and redo history (at most 100 commands
// each); enables the main controller's Undo, Redo, Undo List and Paste.
class BCommandProcessor
{
public:
    static const int MaxHistory = 100;

    enum ActionCode
    {
        UndoAction = 0x3007,
        RedoAction = 0x3008,
        PasteAction = 0x3014,
        UndoListAction = 0x3016
    };

    static BCommandProcessor *instance();
    // Deletes the program-wide processor and its history; the next instance()
    // starts afresh.
    static void release();

    virtual ~BCommandProcessor();

    // Runs the command and files it by its undo mode; null is ignored.
    void process(BCommand *command);
    void undo();
    void redo();
    // row + 1 steps, for the undo list dialog; a negative row does nothing.
    void undo(int row);
    void redo(int row);
    void clear();
    void setController(KController *controller);
    KController *controller() const;

    int undoCount() const { return m_undoList.count(); }
    BCommand *undoAt(int index) const;
    int redoCount() const { return m_redoList.count(); }
    BCommand *redoAt(int index) const;

    void updateActions();

private:
    BCommandProcessor();
    static void trim(QList<BCommand *> &list);
    static void deleteAll(QList<BCommand *> &list);

    QList<BCommand *> m_undoList;
    QList<BCommand *> m_redoList;
    QPointer<KController> m_pController;
    QMetaObject::Connection m_clipboardConnection;
};
