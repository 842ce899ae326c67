#include "views/VTree.h"

#include "app/KController.h"
#include "design/HTreeRow.h"
#include "views/VModeManager.h"

#include <QKeyEvent>
#include <QMouseEvent>

VTree::VTree(QWidget *parent) : QTreeView(parent)
{
    setEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDragEnabled(true);
    setAutoScroll(true);
    setDropIndicatorShown(true);
    setRootIsDecorated(true);
    setItemsExpandable(true);
    setHeaderHidden(false);
}

void VTree::setEditMode(bool on)
{
    setDragEnabled(on);
    setStyleSheet(on ? QStringLiteral("QTreeView { background-color: white; color: black;}")
                     : QStringLiteral("QTreeView { background-color: lightgray; color: #404040;}"));
}

void VTree::expandMarked(const QModelIndex &parent)
{
    QAbstractItemModel *items = model();
    if (!items)
        return;
    for (int row = 0; row < items->rowCount(parent); ++row) {
        const QModelIndex index = items->index(row, 0, parent);
        if (index.data(HTreeRow::ExpandedRole).toBool())
            setExpanded(index, true);
        expandMarked(index);
    }
}

void VTree::mousePressEvent(QMouseEvent *event)
{
    // A QML popup left open on the canvas closes first.
    VModeManager::instance()->cancel();
    QTreeView::mousePressEvent(event);
}

void VTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_pController)
        m_pController->itemDoubleClicked(event);
    QTreeView::mouseDoubleClickEvent(event);
}

void VTree::keyPressEvent(QKeyEvent *event)
{
    // An arrow pressed with Control held still counts as Control held.
    m_heldKey = (event->modifiers() & Qt::ControlModifier) ? int(Qt::Key_Control) : event->key();
    QTreeView::keyPressEvent(event);
}

void VTree::keyReleaseEvent(QKeyEvent *event)
{
    m_heldKey = 0;
    QTreeView::keyReleaseEvent(event);
}

void VTree::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    if (!current.isValid() || !model() || model()->rowCount(current) == 0)
        return;
    // Moving onto a group opens it; with Control held it closes instead.
    setExpanded(current, m_heldKey != Qt::Key_Control);
}
