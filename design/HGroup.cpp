#include "design/HGroup.h"

#include "design/HTreeRows.h"

#include <QDebug>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QXmlStreamAttributes>

HGroup::HGroup() = default;

HGroup::~HGroup() = default;

void HGroup::readProperty(const QString &name, const QString &value)
{
    if (name == QLatin1String("groupType")) {
        m_groupType = value;
        return;
    }
    HNode::readProperty(name, value);
}

void HGroup::readAssignment(const QXmlStreamAttributes &attributes)
{
    if (m_groupType != QLatin1String("Selector"))
        return;
    bool ok = false;
    int target = attributes.value(QLatin1String("targetID")).toString().toInt(&ok, 10);
    if (!ok)
        target = 0;
    // A selector drives one target; names assigned to another are not its own.
    if (m_targetId == 0)
        m_targetId = target;
    else if (target != m_targetId)
        return;
    if (attributes.value(QLatin1String("targetProp")).startsWith(QLatin1String("name")))
        m_selectorNames.append(attributes.value(QLatin1String("targetValue")).toString());
}

bool HGroup::validate()
{
    HNode::validate();
    if (m_groupType == QLatin1String("Level"))
        m_typenum = QStringLiteral("0");
    else if (m_groupType == QLatin1String("Level + Mute"))
        m_typenum = QStringLiteral("1");
    else if (m_groupType == QLatin1String("Mute"))
        m_typenum = QStringLiteral("2");
    else if (m_groupType == QLatin1String("Selector"))
        m_typenum = QStringLiteral("3");
    return true;
}

void HGroup::dump() const
{
    HNode::dump();
    qDebug().noquote() << "  group" << m_groupType << "target:" << m_targetId
                       << "names:" << m_selectorNames.join(QLatin1Char(','));
}

HNode *HGroup::chooseParent(HNode *main, HNode *)
{
    return main;
}

QString HGroup::platformDirectory() const
{
    return QStringLiteral("Zindral");
}

QString HGroup::category() const
{
    return tr("Groups");
}

QStandardItem *HGroup::findTreeItem(const HTreeRows &rows) const
{
    return rows.findSingleRow(category());
}
