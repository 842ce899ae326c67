#include "design/HRoot.h"

#include "design/HTreeRows.h"

#include <QStandardItem>
#include <QStandardItemModel>

HRoot::HRoot() = default;

HRoot::~HRoot() = default;

namespace {

// Moves the first top-level row to the end when it carries the given text.
void moveTopRowToEnd(QStandardItemModel *model, const QString &text)
{
    QStandardItem *top = model->item(0);
    if (!top || top->text() != text)
        return;
    const QList<QStandardItem *> row = model->takeRow(0);
    model->appendRow(row);
}

} // namespace

void HRoot::addRows(HTreeRows &rows)
{
    // The group rows must exist before the children look for them, but they
    // belong below the chassis rows.
    rows.appendRow(nullptr, tr("Groups"), HTreeRow::GroupFlags, QString(), this);
    rows.appendRow(nullptr, tr("ParameterSets"), HTreeRow::GroupFlags, QString(), this);
    HComposite::addRows(rows);
    moveTopRowToEnd(rows.model(), tr("Groups"));
    moveTopRowToEnd(rows.model(), tr("ParameterSets"));
}

QString HRoot::category() const
{
    return QStringLiteral("Root");
}
