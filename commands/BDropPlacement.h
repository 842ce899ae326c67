#pragma once

#include <QPointF>

class CControl;
class HNode;
class MModel;
class MQmlInterface;

// Where a dropped control lands and how big it is, shared by the drops.
namespace BDropPlacement {
// The drop position on the editing grid.
QPointF snappedPoint(const MModel *model, const MQmlInterface *drop);
// Gives a new control the size remembered for its type and its top-left at
// the point; a point outside the current panel's outline (when the panel has
// one) brings the control just inside it.
void place(MModel *model, CControl *control, const QPointF &point);
// Sets or clears the node's in-use mark, when the node is still part of the
// model's design (a design loaded since may have replaced it).
void markNode(MModel *model, HNode *node, bool used);
} // namespace BDropPlacement
