#pragma once

#include <QString>

class CCanvas;
class CComposite;
class CItemFactory;

// What the document needs from the application that shows it: the pixel
// scale, the item factory, where selection changes go and how image paths
// resolve. A document without host loads, saves and edits its data alone.
class CControlHost
{
public:
    virtual ~CControlHost() = default;

    // Pixels per unit of the canvas; 1 where nothing is shown.
    virtual double pixelScale() const = 0;
    // Null while no item can be built.
    virtual CItemFactory *itemFactory() const = 0;
    // A control was selected or deselected; ccp says whether cut, copy and
    // paste apply to it.
    virtual void selectionChanged(bool selected, bool ccp) = 0;
    // The canvas record of the device the document is shown on; null for none.
    virtual const CCanvas *canvas() const = 0;
    // An image path as the open document has it (redirected into its archive).
    virtual QString resolveImagePath(const QString &path) const = 0;
    // Design nodes no control of the document marks are about to be deleted
    // (a design replaced or forgotten): whatever holds controls outside the
    // document, bound to those nodes, must let them go first.
    virtual void designNodesReleasing() {}
    // The composite has just built the live items of its children, later than
    // its read: the host places them as it placed the others.
    virtual void itemsBuilt(CComposite *composite) { Q_UNUSED(composite) }
};
