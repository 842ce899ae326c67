#pragma once

#include "dialogs/DModalDialog.h"

class BCommandProcessor;
class QLabel;
class QListWidget;
class QListWidgetItem;

// Shows the undo and redo history, newest first, and undoes or redoes several
// steps at once on a double-click.
class DUndoListDialog : public DModalDialog
{
    Q_OBJECT
public:
    explicit DUndoListDialog(BCommandProcessor *processor, QWidget *parent = nullptr);

    void initialize() override;

    QListWidget *undoList() const { return m_pUndoList; }
    QListWidget *redoList() const { return m_pRedoList; }

public slots:
    void undo(QListWidgetItem *item);
    void redo(QListWidgetItem *item);

private:
    void fill();

    BCommandProcessor *m_pProcessor = nullptr;
    QLabel *m_pUndoLabel = nullptr;
    QListWidget *m_pUndoList = nullptr;
    QLabel *m_pRedoLabel = nullptr;
    QListWidget *m_pRedoList = nullptr;
};
