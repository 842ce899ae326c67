#include "design/HRoot.h"

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

void HRoot::populate(QStandardItemModel *model)
{
    if (!model)
        return;
    // The group rows must exist before the children look for them, but they
    // belong below the chassis rows.
    model->appendRow(makeRow(tr("Groups"), HTreeRow::GroupFlags, QString(), this));
    model->appendRow(makeRow(tr("ParameterSets"), HTreeRow::GroupFlags, QString(), this));
    HComposite::populate(model);
    moveTopRowToEnd(model, tr("Groups"));
    moveTopRowToEnd(model, tr("ParameterSets"));
}

QString HRoot::category() const
{
    return QStringLiteral("Root");
}
