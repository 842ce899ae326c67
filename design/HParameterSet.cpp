#include "design/HParameterSet.h"

#include "design/CParameter.h"
#include "design/HGroup.h"

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

void HParameterSet::populate(QStandardItemModel *model)
{
    if (!model)
        return;
    setFlag(Shown, true);
    QStandardItem *parentRow = findTreeItem(model);
    if (!parentRow)
        return;
    // The rows are rebuilt from scratch, so are the parameters behind them.
    deleteParameters();
    const Qt::ItemFlags flags = draggable(HTreeRow::DragControl);
    if (parentRow->rowCount() == 0) {
        auto *list = new CParameter(listText(), QStringLiteral("DropList"));
        m_parameters.append(list);
        QStandardItem *row = makeRow(list->text(), flags, list->iconPath(), this);
        parentRow->appendRow(row);
        list->setItem(row);
    }
    auto *set = new CParameter(m_label, QStringLiteral("ParameterSet"));
    m_parameters.append(set);
    QStandardItem *row = makeRow(set->text(), flags, set->iconPath(), this);
    parentRow->appendRow(row);
    set->setItem(row);
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

QStandardItem *HParameterSet::findTreeItem(QStandardItemModel *model)
{
    return HGroup::findSingleRow(model, category());
}

CParameter *HParameterSet::findParameter(const QString &text) const
{
    for (CParameter *parameter : m_parameters) {
        if (parameter->text() == text)
            return parameter;
    }
    return nullptr;
}
