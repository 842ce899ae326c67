#include "commands/BDropPlacement.h"

#include "app/MModel.h"
#include "controls/MQmlInterface.h"
#include "design/HNode.h"
#include "design/HRoot.h"
#include "document/CComposite.h"
#include "document/CItem.h"
#include "views/VGrid.h"

#include <QtGlobal>

namespace BDropPlacement {

QPointF snappedPoint(const MModel *model, const MQmlInterface *drop)
{
    const QPointF point = drop ? QPointF(drop->dropX(), drop->dropY()) : QPointF();
    return VGrid(model ? model->pixelScale() : 1.0).snap(point);
}

void place(MModel *model, CControl *control, const QPointF &point)
{
    if (!model || !control)
        return;
    QRectF rect = control->bounds();
    control->defaultSize(rect);
    rect.moveTopLeft(point);
    if (rect != control->bounds()) {
        control->moveBy(point.x() - control->bounds().x(), point.y() - control->bounds().y());
        control->resizeTo(rect);
    }
    // A control dropped beside the panel's outline would be lost on the
    // device: it moves in by the least it takes. One dropped inside stays
    // where it was put.
    CComposite *panel = model->currentPanel();
    CItem *outline = panel ? panel->findItem(QStringLiteral("bounds")) : nullptr;
    const QRectF area = outline ? outline->rootGeometry() : QRectF();
    if (!outline || area.contains(point))
        return;
    const QRectF now = control->bounds();
    const double x = qMax(area.left(), qMin(now.left(), area.right() - now.width()));
    const double y = qMax(area.top(), qMin(now.top(), area.bottom() - now.height()));
    if (x != now.left() || y != now.top())
        control->moveBy(x - now.left(), y - now.top());
}

void markNode(MModel *model, HNode *node, bool used)
{
    if (model && node && MQmlInterface::findNode(model->hardwareRoot(), quint64(quintptr(node))))
        node->setMarked(used);
}

} // namespace BDropPlacement
