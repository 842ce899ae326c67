#include "DesignTestUtil.h"

#include "design/HComposite.h"
#include "design/HNode.h"

#include <QStandardItem>
#include <QStandardItemModel>
#include <QXmlStreamAttributes>

namespace DesignTestUtil {

QXmlStreamAttributes attrs(const QString &name, const QString &value)
{
    QXmlStreamAttributes attributes;
    attributes.append(QStringLiteral("name"), name);
    attributes.append(QStringLiteral("value"), value);
    return attributes;
}

QString prop(const QString &name, const QString &value)
{
    return QStringLiteral("<Property name=\"%1\" value=\"%2\"/>").arg(name, value);
}

QString node(const QString &className, const QStringList &properties, const QString &cardType,
             const QString &typeNumber)
{
    QString text = QStringLiteral("<Node className=\"Orvane.Foundry.Nodes.%1\"").arg(className);
    if (!cardType.isNull())
        text += QStringLiteral(" cardType=\"%1\"").arg(cardType);
    text += QStringLiteral(" typeNumber=\"%1\">").arg(typeNumber);
    text += properties.join(QString());
    text += QStringLiteral("</Node>\n");
    return text;
}

QString chassis(const QString &label, const QString &title, bool main, const QString &deviceType,
                const QString &address)
{
    return node(QStringLiteral("Torva"),
                {prop(QStringLiteral("title"), title), prop(QStringLiteral("label"), label),
                 prop(QStringLiteral("deviceType"), deviceType),
                 prop(QStringLiteral("isMainTorva"),
                      main ? QStringLiteral("True") : QStringLiteral("False")),
                 prop(QStringLiteral("ipAddress"), address)});
}

QString group(const QString &id, const QString &label, const QString &type)
{
    return QStringLiteral("<Group id=\"%1\">").arg(id) +
           prop(QStringLiteral("title"), QStringLiteral("Group")) +
           prop(QStringLiteral("label"), label) + prop(QStringLiteral("groupType"), type) +
           QStringLiteral("</Group>\n");
}

QString parameterSet(const QString &id, const QString &label, const QString &index)
{
    return QStringLiteral("<ParameterSet id=\"%1\">").arg(id) +
           prop(QStringLiteral("title"), QStringLiteral("Param. Set")) +
           prop(QStringLiteral("label"), label) + prop(QStringLiteral("index"), index) +
           QStringLiteral("</ParameterSet>\n");
}

QString design(const QString &version, const QString &nodes, const QString &groups,
               const QString &sets, const QString &assignments, const QString &info)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project");
    if (!version.isNull())
        text += QStringLiteral(" version=\"%1\"").arg(version);
    text += QStringLiteral(">\n");
    if (!info.isEmpty())
        text += QStringLiteral("<ProjectInfo>") + info + QStringLiteral("</ProjectInfo>\n");
    text += QStringLiteral("<Design>\n<Nodes>\n") + nodes + QStringLiteral("</Nodes>\n");
    text += QStringLiteral("<Groups>\n") + groups + QStringLiteral("</Groups>\n");
    text += QStringLiteral("<ParameterSets>\n") + sets + QStringLiteral("</ParameterSets>\n");
    text += QStringLiteral("<Assignments>\n") + assignments + QStringLiteral("</Assignments>\n");
    text += QStringLiteral("</Design>\n</Project>\n");
    return text;
}

namespace {

void listRow(QString &text, const QStandardItem *row, int level, bool details)
{
    text += QString(level * 2, QLatin1Char(' ')) + row->text();
    if (details) {
        const int kind = int(row->flags()) & 0x1C00;
        if (kind == 0x400)
            text += QStringLiteral(" #control");
        else if (kind == 0x800)
            text += QStringLiteral(" #panel");
    }
    text += QLatin1Char('\n');
    for (int i = 0; i < row->rowCount(); ++i)
        listRow(text, row->child(i), level + 1, details);
}

void listNode(QString &text, const HNode *node, int level)
{
    text += QString(level * 2, QLatin1Char(' ')) + node->label() + QLatin1Char('\n');
    if (auto *composite = dynamic_cast<const HComposite *>(node)) {
        for (const HNode *child : composite->children())
            listNode(text, child, level + 1);
    }
}

} // namespace

QString rowListing(const QStandardItemModel &model, bool details)
{
    QString text;
    for (int i = 0; i < model.rowCount(); ++i)
        listRow(text, model.item(i), 0, details);
    return text;
}

QString nodeListing(const HNode *node)
{
    QString text;
    if (auto *composite = dynamic_cast<const HComposite *>(node)) {
        for (const HNode *child : composite->children())
            listNode(text, child, 0);
    }
    return text;
}

HNode *rowNode(const QStandardItem *row)
{
    return HNode::nodeOfRow(row);
}

} // namespace DesignTestUtil
