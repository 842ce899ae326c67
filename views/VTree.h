#pragma once

#include <QPointer>
#include <QTreeView>

#include "app/KController.h"

// The project tree: shows the tree model and is where every drag onto the
// canvas starts. A tree view, since it shows a model of its own.
class VTree : public QTreeView
{
    Q_OBJECT
public:
    explicit VTree(QWidget *parent = nullptr);

    void setController(KController *controller) { m_pController = controller; }
    // White and draggable in edit mode, grey and fixed outside it.
    void setEditMode(bool on);
    // Expands the rows marked to be shown open, under parent.
    void expandMarked(const QModelIndex &parent = QModelIndex());
    int heldKey() const { return m_heldKey; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    QPointer<KController> m_pController;
    int m_heldKey = 0;
};
