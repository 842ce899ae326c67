#include "dialogs/DUndoListDialog.h"

#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"

#include <QLabel>
#include <QListWidget>

DUndoListDialog::DUndoListDialog(BCommandProcessor *processor, QWidget *parent)
    : DModalDialog(parent), m_pProcessor(processor)
{
    setWindowTitle(tr("Undo/Redo"));
    setFixedSize(330, 300);

    m_pUndoLabel = new QLabel(tr("Undo List"), this);
    m_pUndoLabel->setObjectName(QStringLiteral("m_pUndoLabel"));
    m_pUndoLabel->setGeometry(10, 10, 151, 16);
    m_pUndoLabel->setAlignment(Qt::AlignCenter);
    m_pUndoList = new QListWidget(this);
    m_pUndoList->setObjectName(QStringLiteral("m_pUndoList"));
    m_pUndoList->setGeometry(10, 30, 151, 261);

    m_pRedoLabel = new QLabel(tr("Redo List"), this);
    m_pRedoLabel->setObjectName(QStringLiteral("m_pRedoLabel"));
    m_pRedoLabel->setGeometry(170, 10, 151, 16);
    m_pRedoLabel->setAlignment(Qt::AlignCenter);
    m_pRedoList = new QListWidget(this);
    m_pRedoList->setObjectName(QStringLiteral("m_pRedoList"));
    m_pRedoList->setGeometry(170, 30, 151, 261);

    connect(m_pUndoList, &QListWidget::itemDoubleClicked, this, &DUndoListDialog::undo);
    connect(m_pRedoList, &QListWidget::itemDoubleClicked, this, &DUndoListDialog::redo);
}

void DUndoListDialog::initialize()
{
    fill();
}

void DUndoListDialog::fill()
{
    m_pUndoList->clear();
    m_pRedoList->clear();
    if (!m_pProcessor)
        return;
    // Oldest first, each at row 0, so row 0 is the step Undo or Redo takes next.
    for (int i = 0; i < m_pProcessor->undoCount(); ++i)
        m_pUndoList->insertItem(0, m_pProcessor->undoAt(i)->description());
    for (int i = 0; i < m_pProcessor->redoCount(); ++i)
        m_pRedoList->insertItem(0, m_pProcessor->redoAt(i)->description());
}

void DUndoListDialog::undo(QListWidgetItem *item)
{
    if (!m_pProcessor || !item)
        return;
    m_pProcessor->undo(m_pUndoList->row(item));
    fill();
}

void DUndoListDialog::redo(QListWidgetItem *item)
{
    if (!m_pProcessor || !item)
        return;
    m_pProcessor->redo(m_pRedoList->row(item));
    fill();
}
