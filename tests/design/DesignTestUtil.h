#pragma once

#include "design/HComposite.h"

#include <QStandardItem>
#include <QStandardItemModel>

// Readable listings of project-tree rows and of the node tree, for the design
// tests: one line per row or node, indented by two blanks per level.
namespace DesignTestUtil {

// With details the drag kind ("control", "panel") follows the text after " #".
inline QString rowListing(const QStandardItem *row, bool details, int level = 0)
{
    const int kind = HTreeRow::dragKind(row->flags());
    const char *drag = !details                        ? ""
                       : kind == HTreeRow::DragControl ? " #control"
                       : kind == HTreeRow::DragPanel   ? " #panel"
                                                       : "";
    QString text = QString(level * 2, QLatin1Char(' ')) + row->text() + QLatin1String(drag) + '\n';
    for (int i = 0; i < row->rowCount(); ++i)
        text += rowListing(row->child(i), details, level + 1);
    return text;
}

inline QString rowListing(const QStandardItemModel &model, bool details = false)
{
    QString text;
    for (int i = 0; i < model.rowCount(); ++i)
        text += rowListing(model.item(i), details);
    return text;
}

// The labels of the nodes below root.
inline QString nodeListing(const HNode *root, int level = 0)
{
    QString text;
    if (auto *composite = dynamic_cast<const HComposite *>(root)) {
        for (const HNode *child : composite->children())
            text += QString(level * 2, QLatin1Char(' ')) + child->label() + '\n' +
                    nodeListing(child, level + 1);
    }
    return text;
}

// The detailed rows of nodes at the indent, each with a Level and a Mute row.
inline QString levelMuteRows(const QStringList &labels, int indent = 4)
{
    const QString pad(indent, QLatin1Char(' '));
    QString rows;
    for (const QString &label : labels)
        rows += pad + label + "\n" + pad + "  Level #control\n" + pad + "  Mute #control\n";
    return rows;
}

} // namespace DesignTestUtil
