#include "commands/BSelection.h"

#include "app/MModel.h"
#include "controls/WRegion.h"
#include "controls/WWidget.h"
#include "document/CComposite.h"
#include "document/CItem.h"
#include "views/VGrid.h"

namespace BSelection {

QList<CControl *> ofCurrentPanel(MModel *model)
{
    QList<CControl *> selected;
    if (model && model->currentPanel())
        model->currentPanel()->collectSelected(selected);
    return selected;
}

QRectF bounds(const QList<CControl *> &controls)
{
    QRectF united;
    for (CControl *control : controls)
        united = united.united(control->bounds());
    return united;
}

void moveBy(const QList<CControl *> &controls, const QPointF &offset)
{
    if (offset.isNull())
        return;
    for (CControl *control : controls)
        control->moveBy(offset.x(), offset.y());
}

QSizeF canvasSize(MModel *model)
{
    if (!model)
        return QSizeF();
    if (QQuickItem *canvas = model->canvasItem())
        return canvas->size();
    return QSizeF(model->qmlProperty("width").toDouble(), model->qmlProperty("height").toDouble());
}

VGrid grid(MModel *model)
{
    return VGrid(model ? model->pixelScale() : 1.0);
}

QList<QRectF> itemRects(const CControl *control)
{
    QList<QRectF> rects;
    for (CItem *item : control->items())
        rects << item->rootGeometry();
    return rects;
}

void setItemRects(CControl *control, const QList<QRectF> &rects)
{
    const QList<CItem *> items = control->items();
    for (int i = 0; i < items.size() && i < rects.size(); ++i) {
        auto *widget = qobject_cast<WWidget *>(items.at(i)->itemObject());
        if (QQuickItem *root = widget ? widget->root() : nullptr) {
            root->setPosition(rects.at(i).topLeft());
            root->setSize(rects.at(i).size());
        }
    }
}

WRegion *region(const CControl *control)
{
    CItem *item = control ? control->findItem(QStringLiteral("region")) : nullptr;
    return item ? qobject_cast<WRegion *>(item->itemObject()) : nullptr;
}

QPointF toCanvas(const WRegion *region, const QPointF &point)
{
    return region && region->root() ? point + region->root()->position() : point;
}

QPointF fromCanvas(const WRegion *region, const QPointF &point)
{
    return region && region->root() ? point - region->root()->position() : point;
}

} // namespace BSelection
