#pragma once

#include <Qt>

// What the rows of the project tree carry, shared by the design's rows, the
// document's link rows and the tree view that drags them onto the canvas.
namespace HTreeRow {
// The object behind a row, as a 64-bit number (its address).
constexpr int IdentityRole = Qt::UserRole + 1;
// The resource path of the row's icon, kept for reports and tests.
constexpr int IconPathRole = Qt::UserRole + 2;
// Set on a row the tree is to show expanded.
constexpr int ExpandedRole = Qt::UserRole + 3;

// Group rows: selectable, user-checkable, enabled; not dragged.
constexpr Qt::ItemFlags GroupFlags =
    Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
// Rows the canvas takes: the group flags and drag-enabled.
constexpr Qt::ItemFlags DraggableFlags = GroupFlags | Qt::ItemIsDragEnabled;

// The drag kind, in bits 10 to 12 of a row's flags.
constexpr int DragKindMask = 0x1C00;
constexpr int DragControl = 0x400; // a parameter or graphic that becomes a control
constexpr int DragPanel = 0x800;   // an object dropped as a whole panel
constexpr int DragLink = 0x1000;   // a panel, dropped as a link to it

// The flags with a drag kind added.
constexpr Qt::ItemFlags withDragKind(Qt::ItemFlags flags, int kind)
{
    return Qt::ItemFlags(int(flags) | kind);
}
inline int dragKind(Qt::ItemFlags flags)
{
    return int(flags) & DragKindMask;
}
} // namespace HTreeRow
