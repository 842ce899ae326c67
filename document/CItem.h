#pragma once

#include <QRectF>
#include <QString>

class CAttributes;
class CComposite;
class CControl;
class PProtocol;
class QObject;
class QWidget;
class TTransform;
class XmlWriter;

// A live item showing one item record of a control. The document drives its
// items only through this interface; the canvas implements it.
class CItem
{
public:
    virtual ~CItem() = default;

    // The object whose life bounds the item's: the document stops using the
    // item once it is gone.
    virtual QObject *itemObject() = 0;
    // Schedules the item's visual part for deletion.
    virtual void release() = 0;

    virtual QString typeName() const = 0;
    virtual bool isType(const QString &type) const = 0;
    virtual quint32 itemId() const = 0;
    virtual quint32 link() const = 0;
    virtual void setLinkedItem(CItem *item) = 0;

    // Writes the item's element with its current values.
    virtual bool writeXml(XmlWriter *writer) = 0;

    virtual void setAttributes(CAttributes *attributes) = 0;
    virtual void setTransform(TTransform *transform) = 0;
    virtual void setProtocol(PProtocol *protocol) = 0;
    virtual void updateLink() = 0;
    virtual void inputValue() = 0;

    virtual QRectF rootGeometry() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void scale(float factor) = 0;
    virtual void moveBy(double dx, double dy) = 0;
    virtual void setGeometry(double x, double y, double width, double height) = 0;
    virtual void followResize(const QRectF &oldRect, const QRectF &newRect) = 0;
    virtual void reshape(double a, double b, double c, double d, double e, double f) = 0;
    // The canvas item the visual part belongs to; null takes it off.
    virtual void setRootParentItem(QObject *parent) = 0;

    virtual void setChild(CControl *child) = 0;
    virtual CControl *child() const = 0;
    virtual void setPanel(CComposite *panel) = 0;
    virtual void setTitle(const QString &title) = 0;
    virtual QString rootText() const = 0;
    virtual void enableDrop(bool enable) = 0;

    virtual bool isSlider() const = 0;
    virtual bool hasProperties() const = 0;
    virtual QWidget *createPropertiesDialog(QWidget *parent) = 0;
    virtual void showSelection(bool show) = 0;
    virtual void loadSelector(bool edit) = 0;
    virtual void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix) = 0;
    virtual void updateSkin() = 0;
    virtual void dump() const = 0;
};
