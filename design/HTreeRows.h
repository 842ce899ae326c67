#pragma once

#include "design/HTreeRow.h"

#include <QHash>
#include <QIcon>
#include <QString>
#include <QVector>

class HNode;
class QStandardItem;
class QStandardItemModel;

// Builds the design's rows into a project-tree model. Every row goes in
// through it, so the parent rows the nodes look for are found by hash rather
// than by searching the whole model, and each icon is read once.
class HTreeRows
{
public:
    // The rows the model holds already count as found.
    explicit HTreeRows(QStandardItemModel *model);
    ~HTreeRows();
    HTreeRows(const HTreeRows &) = delete;
    HTreeRows &operator=(const HTreeRows &) = delete;

    QStandardItemModel *model() const { return m_pModel; }

    // Appends a row with text, flags, icon (none for an empty path) and the
    // address of a node (none for null) under parent, or at the top level
    // for a null parent; answers the row.
    QStandardItem *appendRow(QStandardItem *parent, const QString &text, Qt::ItemFlags flags,
                             const QString &iconPath, const HNode *node);

    // The first row with exactly this text that stores the address of node,
    // a node that can hold children; null when there is none. First means
    // in the order a depth-first search of the model reports them.
    QStandardItem *findRow(const QString &text, const HNode *node) const;
    // The one row with exactly this text; null when there is none or several.
    QStandardItem *findSingleRow(const QString &text) const;

private:
    struct Count
    {
        QStandardItem *first = nullptr;
        int count = 0;
    };
    void record(QStandardItem *row, const QString &text, const HNode *node);

    QStandardItemModel *m_pModel = nullptr;
    QVector<QStandardItem *> m_rows;
    // The rows of the nodes that can be parents, in the order they came.
    QHash<const HNode *, QVector<QStandardItem *>> m_rowsOfParents;
    // Texts asked for by findSingleRow, counted from then on as rows come.
    mutable QHash<QString, Count> m_counted;
    QHash<QString, QIcon> m_icons;
};
