#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

class CControl;
class MModel;
class VGrid;
class WRegion;

// What the pointer and arrangement commands share: the selection of the
// current panel, its rectangle, moving it, and the canvas it lies on.
namespace BSelection {

// The selected controls of the model's current panel, in child order.
QList<CControl *> ofCurrentPanel(MModel *model);
// The union of the controls' rectangles.
QRectF bounds(const QList<CControl *> &controls);
void moveBy(const QList<CControl *> &controls, const QPointF &offset);
// The canvas content area in canvas pixels; empty while unknown.
QSizeF canvasSize(MModel *model);
// The editing grid at the model's pixel scale (1 without model).
VGrid grid(MModel *model);
// The rectangles of a control's items, and putting them back exactly.
QList<QRectF> itemRects(const CControl *control);
void setItemRects(CControl *control, const QList<QRectF> &rects);
// The control's region item; null for other controls.
WRegion *region(const CControl *control);
// Where a point of the region's own coordinates lies on the canvas. Vertex
// edits keep canvas points: the region shifts its own origin whenever a
// vertex moves past its top-left corner, the canvas stays put.
QPointF toCanvas(const WRegion *region, const QPointF &point);
QPointF fromCanvas(const WRegion *region, const QPointF &point);

} // namespace BSelection
