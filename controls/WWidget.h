#pragma once

#include <QColor>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>
#include <QString>
#include <QVariant>

class CAttributes;
class CComposite;
class CControl;
class HNode;
class PProtocol;
class TTransform;
class XmlWriter;

// The native item inside every control's QML component. It drives the
// component's root purely by property name, persists the control's look as
// named values and carries the selection overlay in edit mode.
class WWidget : public QQuickItem
{
    Q_OBJECT
public:
    explicit WWidget(QQuickItem *parent = nullptr);
    ~WWidget() override;

    virtual void initWidget();
    virtual void destroy();
    virtual void setAttributes(CAttributes *attributes);
    virtual void updateLink();
    virtual void setCanvas(QQuickItem *canvas);
    virtual bool writeXml(XmlWriter *writer);
    virtual bool loadAttribute(const QString &name, const QString &value);
    virtual void scale(float factor);
    virtual void moveBy(double dx, double dy);
    virtual void setGeometry(double x, double y, double width, double height);
    virtual void reshape(double a, double b, double c, double d, double e, double f);
    virtual void inputValue();
    virtual bool acceptDrop(HNode *node, const QString &value);
    virtual void setTitle(const QString &title);
    virtual void setChild(CControl *child);
    virtual CControl *child() const;
    virtual void setPanel(CComposite *panel);
    virtual bool isType(const QString &type) const;
    virtual void inputText(const QString &text);
    virtual bool isSlider() const;
    virtual void properties();
    virtual bool hasProperties() const;
    virtual QWidget *createPropertiesDialog(QWidget *parent);
    virtual QVariant attribute(uint id) const;
    virtual void setAttribute(uint id, const QVariant &value);
    virtual void showSelection(bool show);
    virtual void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix);
    virtual void updateSkin();
    virtual void dump() const;
    virtual void linkValue(WWidget *source);

    // Keeps the item's fractions while the owning control's rectangle changes.
    void followResize(const QRectF &oldRect, const QRectF &newRect);

    QQuickItem *root() const { return m_pRoot; }
    void setRoot(QQuickItem *root) { m_pRoot = root; }
    QString typeName() const { return m_typeName; }
    void setTypeName(const QString &name) { m_typeName = name; }
    double xfract() const { return m_xfract; }
    double yfract() const { return m_yfract; }
    double widthfract() const { return m_widthfract; }
    double heightfract() const { return m_heightfract; }
    quint32 itemId() const { return m_id; }
    void setItemId(quint32 id) { m_id = id; }
    quint32 link() const { return m_link; }
    void setLink(quint32 link) { m_link = link; }
    WWidget *linkedItem() const { return m_pLinkedItem; }
    void setLinkedItem(WWidget *item) { m_pLinkedItem = item; }
    TTransform *transform() const { return m_pTransform; }
    void setTransform(TTransform *transform) { m_pTransform = transform; }
    PProtocol *protocol() const { return m_pProtocol; }
    void setProtocol(PProtocol *protocol) { m_pProtocol = protocol; }
    HNode *ownerObject() const { return m_pOwnerObject; }
    void setOwnerObject(HNode *node) { m_pOwnerObject = node; }
    CControl *control() const { return m_pControl; }
    void setControl(CControl *control) { m_pControl = control; }
    QQuickItem *selector() const { return m_pSelector; }

    QRectF rootGeometry() const;
    void setVisible(bool visible);
    void setRootParentItem(QQuickItem *parent);
    void setRootProperty(const char *name, const QVariant &value);
    QVariant rootProperty(const char *name) const;
    void setColor(const char *name, const QString &colorText);
    QString colorName(const char *name) const;
    void setRootText(const QString &text);
    QString rootText() const;
    void loadSelector(bool edit);

public slots:
    virtual void outputValue(int value);
    virtual void outputChecked(bool state);
    virtual void outputCurrentIndex(int index);
    virtual void outputCurrentText(QString text);
    virtual void onTextChanged();
    virtual QString getToolTip(bool hover);
    void select(int keys);

protected:
    QQuickItem *m_pRoot = nullptr;
    QString m_typeName;
    double m_xfract = 0.0;
    double m_yfract = 0.0;
    double m_widthfract = 1.0;
    double m_heightfract = 1.0;
    quint32 m_id = 0;
    quint32 m_link = 0;
    bool m_linkUpdate = false;
    bool m_outputEnabled = true;
    WWidget *m_pLinkedItem = nullptr;
    TTransform *m_pTransform = nullptr;
    PProtocol *m_pProtocol = nullptr;
    HNode *m_pOwnerObject = nullptr;
    CControl *m_pControl = nullptr;
    QPointer<QQuickItem> m_pSelector;
};
