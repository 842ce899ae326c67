#include "design/HTreeRows.h"

#include "design/HComposite.h"
#include "document/io/UProgress.h"

#include <QStandardItem>
#include <QStandardItemModel>

namespace {
// Only a composite holds children, so only its rows are ever looked for as
// a parent's; leaves, the great majority, are not indexed.
bool canBeParent(const HNode *node)
{
    return dynamic_cast<const HComposite *>(node) != nullptr;
}
} // namespace

HTreeRows::HTreeRows(QStandardItemModel *model) : m_pModel(model)
{
    if (!m_pModel)
        return;
    // Depth first, parents before children: the order a search reports them.
    QVector<QStandardItem *> pending;
    for (int i = m_pModel->rowCount() - 1; i >= 0; --i)
        pending.append(m_pModel->item(i));
    while (!pending.isEmpty()) {
        QStandardItem *row = pending.takeLast();
        if (!row)
            continue;
        record(row, row->text(), HNode::nodeOfRow(row));
        for (int i = row->rowCount() - 1; i >= 0; --i)
            pending.append(row->child(i));
    }
}

HTreeRows::~HTreeRows() = default;

QStandardItem *HTreeRows::appendRow(QStandardItem *parent, const QString &text, Qt::ItemFlags flags,
                                    const QString &iconPath, const HNode *node)
{
    UProgress::step();
    if (!parent && !m_pModel)
        return nullptr;
    auto *row = new QStandardItem(text);
    row->setFlags(flags);
    if (!iconPath.isEmpty()) {
        auto icon = m_icons.find(iconPath);
        if (icon == m_icons.end())
            icon = m_icons.insert(iconPath, QIcon(iconPath));
        row->setIcon(*icon);
        row->setData(iconPath, HTreeRow::IconPathRole);
    }
    if (node)
        row->setData(QVariant::fromValue<quint64>(quint64(quintptr(node))), HTreeRow::IdentityRole);
    if (parent)
        parent->appendRow(row);
    else
        m_pModel->appendRow(row);
    record(row, text, node);
    return row;
}

void HTreeRows::record(QStandardItem *row, const QString &text, const HNode *node)
{
    m_rows.append(row);
    if (node && canBeParent(node))
        m_rowsOfParents[node].append(row);
    if (!m_counted.isEmpty()) {
        const auto counted = m_counted.find(text);
        if (counted != m_counted.end()) {
            if (counted->count++ == 0)
                counted->first = row;
        }
    }
}

QStandardItem *HTreeRows::findRow(const QString &text, const HNode *node) const
{
    // A composite's rows go in together, its own row before those under it:
    // the first recorded is the first a depth-first search meets.
    const auto rows = m_rowsOfParents.constFind(node);
    if (rows == m_rowsOfParents.constEnd())
        return nullptr;
    for (QStandardItem *row : *rows) {
        if (row->text() == text)
            return row;
    }
    return nullptr;
}

QStandardItem *HTreeRows::findSingleRow(const QString &text) const
{
    auto counted = m_counted.find(text);
    if (counted == m_counted.end()) {
        Count count;
        for (QStandardItem *row : m_rows) {
            if (row->text() == text && count.count++ == 0)
                count.first = row;
        }
        counted = m_counted.insert(text, count);
    }
    return counted->count == 1 ? counted->first : nullptr;
}
