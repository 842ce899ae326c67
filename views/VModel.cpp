#include "views/VModel.h"

#include "app/MModel.h"
#include "design/HRoot.h"
#include "design/HTreeRow.h"
#include "document/CComposite.h"

#include <QMimeData>

namespace {
const char *const ControlFormat = "application/control";
const char *const DropSiteFormat = "application/dropsite";
const char *const PanelFormat = "application/panel";
const char *const LinkFormat = "application/link";
} // namespace

VModel::VModel(QObject *parent) : QStandardItemModel(parent) {}

QStringList VModel::mimeTypes() const
{
    return {QStringLiteral("text/plain")};
}

quint64 VModel::identity(const QStandardItem *row)
{
    return row ? row->data(HTreeRow::IdentityRole).value<quint64>() : 0;
}

bool VModel::currentPanelHasDropSite() const
{
    CComposite *panel = m_pModel ? m_pModel->currentPanel() : nullptr;
    if (!panel)
        return false;
    for (CControl *control : panel->children()) {
        if (control->hasItemOfType(QStringLiteral("dropsite")))
            return true;
    }
    return false;
}

QMimeData *VModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    const QStandardItem *row = itemFromIndex(indexes.first());
    if (!row)
        return nullptr;
    auto *data = new QMimeData();
    data->setText(row->text());
    const QByteArray payload = QByteArray::number(identity(row));
    switch (HTreeRow::dragKind(row->flags())) {
    case HTreeRow::DragControl:
        // Decided when the drag starts, from the panel it will land on.
        data->setData(QLatin1String(currentPanelHasDropSite() ? DropSiteFormat : ControlFormat),
                      payload);
        break;
    case HTreeRow::DragPanel:
        data->setData(QLatin1String(PanelFormat), payload);
        break;
    case HTreeRow::DragLink:
        data->setData(QLatin1String(LinkFormat), payload);
        break;
    default:
        break;
    }
    return data;
}

void VModel::rebuild()
{
    clear();
    if (!m_pModel)
        return;
    setHorizontalHeaderItem(0, new QStandardItem(QString()));
    // Without a design there are no hardware rows, not even empty groups.
    HRoot *hardware = m_pModel->hardwareRoot();
    if (hardware && hardware->childCount() > 0)
        hardware->populate(this);
    appendGraphics();
    appendLinks();
}

void VModel::appendGraphics()
{
    auto *group = new QStandardItem(tr("Graphics"));
    group->setFlags(HTreeRow::GroupFlags);
    static const struct {
        const char *text;
        const char *icon;
    } kinds[] = {{QT_TR_NOOP("Label"), ":/images/AddLabel.png"},
                 {QT_TR_NOOP("Image"), ":/images/AddImage.png"},
                 {QT_TR_NOOP("Frame"), ":/images/AddFrame.png"},
                 {QT_TR_NOOP("Region"), ":/images/polygon.png"}};
    for (const auto &kind : kinds) {
        auto *row = new QStandardItem(QIcon(QLatin1String(kind.icon)), tr(kind.text));
        row->setFlags(HTreeRow::withDragKind(HTreeRow::DraggableFlags, HTreeRow::DragControl));
        group->appendRow(row);
    }
    appendRow(group);
}

void VModel::appendLinks()
{
    auto *group = new QStandardItem(tr("Links"));
    group->setFlags(HTreeRow::GroupFlags);
    appendRow(group);
    CComposite *root = m_pModel ? m_pModel->documentRoot() : nullptr;
    if (!root)
        return;
    // The view expands the rows the document keeps open once it has them.
    for (CControl *collection : root->children())
        collection->addTreeRow(group, [](QStandardItem *row) {
            row->setData(true, HTreeRow::ExpandedRole);
        });
}

bool VModel::refreshLinks()
{
    const QString links = tr("Links");
    for (int i = 0; i < rowCount(); ++i) {
        if (item(i) && item(i)->text() == links) {
            if (!removeRow(i))
                return false;
            appendLinks();
            return true;
        }
    }
    return false;
}
