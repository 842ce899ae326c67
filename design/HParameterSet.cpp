#include "design/HParameterSet.h"

#include "design/CParameter.h"
#include "design/HTreeRows.h"

#include <QStandardItem>
#include <QStandardItemModel>

HParameterSet::HParameterSet() = default;

HParameterSet::~HParameterSet() = default;

QString HParameterSet::listText()
{
    return tr("ParameterList");
}

bool HParameterSet::validate()
{
    HNode::validate();
    m_title.remove(QLatin1Char('.'));
    m_title.remove(QLatin1Char(' '));
    m_typenum = QStringLiteral("0");
    return true;
}

void HParameterSet::addRows(HTreeRows &rows)
{
    setFlag(Shown, true);
    QStandardItem *parentRow = findTreeItem(rows);
    if (!parentRow)
        return;
    // The rows are rebuilt from scratch, so are the parameters behind them.
    deleteParameters();
    const Qt::ItemFlags flags = draggable(HTreeRow::DragControl);
    if (parentRow->rowCount() == 0) {
        auto *list = new CParameter(listText(), QStringLiteral("DropList"));
        m_parameters.append(list);
        list->setItem(rows.appendRow(parentRow, list->text(), flags, list->iconPath(), this));
    }
    auto *set = new CParameter(m_label, QStringLiteral("ParameterSet"));
    m_parameters.append(set);
    set->setItem(rows.appendRow(parentRow, set->text(), flags, set->iconPath(), this));
}

void HParameterSet::clearText(QString &text)
{
    // A set's template is taken whole.
    text.clear();
}

bool HParameterSet::confirmDrop(const QString &parameterName)
{
    CParameter *parameter = findParameter(parameterName);
    if (!parameter)
        return false;
    if (parameter->type() == QLatin1String("ParameterSet"))
        return true;
    if (!m_pParent)
        return false;
    QList<HNode *> sets;
    m_pParent->collectByCategory(category(), sets);
    // The dialog in which the user picks and orders the listed sets joins
    // here later; until then the list is accepted whenever sets exist.
    return !sets.isEmpty();
}

HNode *HParameterSet::chooseParent(HNode *main, HNode *)
{
    return main;
}

QString HParameterSet::templatePath(const QString &parameterName)
{
    CParameter *parameter = findParameter(parameterName);
    if (!parameter)
        return QString();
    const QString title = parameter->text() != m_label ? QStringLiteral("ParamList") : m_title;
    return QStringLiteral(":/data/") + platformDirectory() + QLatin1Char('/') + title +
           QLatin1Char('_') + m_typenum + QStringLiteral(".xml");
}

QString HParameterSet::platformDirectory() const
{
    return QStringLiteral("Zindral");
}

QString HParameterSet::category() const
{
    return tr("ParameterSets");
}

QStandardItem *HParameterSet::findTreeItem(const HTreeRows &rows) const
{
    return rows.findSingleRow(category());
}

CParameter *HParameterSet::findParameter(const QString &text) const
{
    for (CParameter *parameter : m_parameters) {
        if (parameter->text() == text)
            return parameter;
    }
    return nullptr;
}
