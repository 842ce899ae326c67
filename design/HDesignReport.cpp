#include "design/HDesignReport.h"

#include "design/CParameter.h"
#include "design/HAudioIO.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HGroup.h"
#include "design/HParameterSet.h"
#include "design/HRoot.h"
#include "design/HTorvaLink.h"

#include <QJsonArray>
#include <QStandardItem>
#include <QStandardItemModel>

namespace {

QString className(const HNode *node)
{
    if (dynamic_cast<const HRoot *>(node))
        return QStringLiteral("HRoot");
    if (dynamic_cast<const HChassis *>(node))
        return QStringLiteral("HChassis");
    if (dynamic_cast<const HComposite *>(node))
        return QStringLiteral("HComposite");
    if (dynamic_cast<const HTorvaLink *>(node))
        return QStringLiteral("HTorvaLink");
    if (dynamic_cast<const HAudioIO *>(node))
        return QStringLiteral("HAudioIO");
    if (dynamic_cast<const HBlock *>(node))
        return QStringLiteral("HBlock");
    if (dynamic_cast<const HGroup *>(node))
        return QStringLiteral("HGroup");
    if (dynamic_cast<const HParameterSet *>(node))
        return QStringLiteral("HParameterSet");
    return QStringLiteral("HNode");
}

QJsonValue dragKind(Qt::ItemFlags flags)
{
    switch (HTreeRow::dragKind(flags)) {
    case HTreeRow::DragControl:
        return QStringLiteral("control");
    case HTreeRow::DragPanel:
        return QStringLiteral("panel");
    default:
        return QJsonValue(QJsonValue::Null);
    }
}

QJsonObject rowObject(const QStandardItem *row)
{
    QJsonArray children;
    for (int i = 0; i < row->rowCount(); ++i)
        children.append(rowObject(row->child(i)));
    const Qt::ItemFlags flags = row->flags();
    QJsonObject object;
    object.insert(QStringLiteral("text"), row->text());
    object.insert(QStringLiteral("icon"), row->data(HTreeRow::IconPathRole).toString());
    object.insert(QStringLiteral("flags"), int(flags));
    object.insert(QStringLiteral("drag"), dragKind(flags));
    object.insert(QStringLiteral("children"), children);
    return object;
}

QJsonObject nodeObject(HNode *node)
{
    QJsonArray children;
    if (auto *composite = dynamic_cast<HComposite *>(node)) {
        for (HNode *child : composite->children())
            children.append(nodeObject(child));
    }
    QJsonObject object;
    object.insert(QStringLiteral("class"), className(node));
    object.insert(QStringLiteral("label"), node->label());
    object.insert(QStringLiteral("title"), node->title());
    object.insert(QStringLiteral("typenum"), node->typenum());
    object.insert(QStringLiteral("category"), node->category());
    object.insert(QStringLiteral("platform"), node->platformDirectory());
    object.insert(QStringLiteral("children"), children);
    return object;
}

// The report's rows die with it; the parameters must not keep pointing at them.
void forgetRows(HNode *node)
{
    for (CParameter *parameter : node->parameters())
        parameter->setItem(nullptr);
    if (auto *composite = dynamic_cast<HComposite *>(node)) {
        for (HNode *child : composite->children())
            forgetRows(child);
    }
}

void appendRowText(QString &text, const QJsonObject &row, int level)
{
    text += QString(level * 2, QLatin1Char(' ')) + row.value(QStringLiteral("text")).toString();
    QStringList details;
    const QJsonValue drag = row.value(QStringLiteral("drag"));
    if (drag.isString())
        details.append(drag.toString());
    details.append(QStringLiteral("flags %1").arg(row.value(QStringLiteral("flags")).toInt()));
    const QString icon = row.value(QStringLiteral("icon")).toString();
    if (!icon.isEmpty())
        details.append(icon);
    text += QStringLiteral("  [") + details.join(QStringLiteral(", ")) + QStringLiteral("]\n");
    const QJsonArray children = row.value(QStringLiteral("children")).toArray();
    for (const QJsonValue &child : children)
        appendRowText(text, child.toObject(), level + 1);
}

void appendNodeText(QString &text, const QJsonObject &node, int level)
{
    text += QString(level * 2, QLatin1Char(' ')) + node.value(QStringLiteral("class")).toString();
    const QString label = node.value(QStringLiteral("label")).toString();
    if (!label.isEmpty())
        text += QStringLiteral(" \"") + label + QLatin1Char('"');
    QStringList details;
    const char *const keys[] = {"title", "typenum", "category", "platform"};
    for (const char *key : keys) {
        const QString value = node.value(QLatin1String(key)).toString();
        if (!value.isEmpty())
            details.append(QLatin1String(key) + QLatin1Char('=') + value);
    }
    if (!details.isEmpty())
        text += QStringLiteral("  ") + details.join(QLatin1Char(' '));
    text += QLatin1Char('\n');
    const QJsonArray children = node.value(QStringLiteral("children")).toArray();
    for (const QJsonValue &child : children)
        appendNodeText(text, child.toObject(), level + 1);
}

} // namespace

QJsonObject HDesignReport::toJson(HRoot *root)
{
    QJsonArray rows;
    QJsonArray nodes;
    if (root) {
        QStandardItemModel model;
        root->populate(&model);
        for (int i = 0; i < model.rowCount(); ++i)
            rows.append(rowObject(model.item(i)));
        for (HNode *child : root->children())
            nodes.append(nodeObject(child));
        forgetRows(root);
    }
    QJsonObject report;
    report.insert(QStringLiteral("rows"), rows);
    report.insert(QStringLiteral("nodes"), nodes);
    return report;
}

QString HDesignReport::toText(HRoot *root)
{
    const QJsonObject report = toJson(root);
    QString text = QStringLiteral("Project tree:\n");
    const QJsonArray rows = report.value(QStringLiteral("rows")).toArray();
    for (const QJsonValue &row : rows)
        appendRowText(text, row.toObject(), 1);
    text += QStringLiteral("Design nodes:\n");
    const QJsonArray nodes = report.value(QStringLiteral("nodes")).toArray();
    for (const QJsonValue &node : nodes)
        appendNodeText(text, node.toObject(), 1);
    return text;
}
