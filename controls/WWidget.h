#pragma once

#include "document/CItem.h"
#include "document/CItemRecord.h"

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
class MModel;
class PProtocol;
class TTransform;
class XmlWriter;

// The native item inside every control's QML component. It drives the
// component's root purely by property name, shows one item record of its
// control and writes its values back as named values, and carries the
// selection overlay in edit mode.
class WWidget : public QQuickItem, public CItem
{
    Q_OBJECT
public:
    explicit WWidget(QQuickItem *parent = nullptr);
    ~WWidget() override;

    virtual void initWidget();
    virtual void destroy();
    void setAttributes(CAttributes *attributes) override;
    void updateLink() override;
    virtual void setCanvas(QQuickItem *canvas);
    bool writeXml(XmlWriter *writer) override;
    virtual bool loadAttribute(const QString &name, const QString &value);
    // Reads the values of an item record, in order; those without text are
    // kept for the file but never reach the item. By default each goes to
    // loadAttribute; an item may take them as one batch, so that what they
    // change is laid out once.
    virtual void loadAttributes(const QVector<CItemRecord::Value> &values);
    void scale(float factor) override;
    void moveBy(double dx, double dy) override;
    void setGeometry(double x, double y, double width, double height) override;
    void reshape(double a, double b, double c, double d, double e, double f) override;
    void inputValue() override;
    virtual bool acceptDrop(HNode *node, const QString &value);
    void setTitle(const QString &title) override;
    void setChild(CControl *child) override;
    CControl *child() const override;
    void setPanel(CComposite *panel) override;
    bool isType(const QString &type) const override;
    virtual void inputText(const QString &text);
    bool isSlider() const override;
    virtual void properties();
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    virtual QVariant attribute(uint id) const;
    virtual void setAttribute(uint id, const QVariant &value);
    void showSelection(bool show) override;
    void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix) override;
    void updateSkin() override;
    void dump() const override;
    virtual void linkValue(WWidget *source);

    // The rest of what the document asks of its items.
    QObject *itemObject() override { return this; }
    void release() override;
    void setLinkedItem(CItem *item) override;
    void setTransform(TTransform *transform) override { m_pTransform = transform; }
    void setProtocol(PProtocol *protocol) override { m_pProtocol = protocol; }
    QRectF rootGeometry() const override;
    void setVisible(bool visible) override;
    void setRootParentItem(QObject *parent) override;
    QString rootText() const override;
    void enableDrop(bool enable) override;
    void loadSelector(bool edit) override;
    quint32 itemId() const override { return m_id; }
    quint32 link() const override { return m_link; }
    QString typeName() const override { return m_typeName; }

    // Keeps the item's fractions while the owning control's rectangle changes.
    void followResize(const QRectF &oldRect, const QRectF &newRect) override;

    QQuickItem *root() const { return m_pRoot; }
    void setRoot(QQuickItem *root) { m_pRoot = root; }
    void setTypeName(const QString &name) { m_typeName = name; }
    double xfract() const { return m_xfract; }
    double yfract() const { return m_yfract; }
    double widthfract() const { return m_widthfract; }
    double heightfract() const { return m_heightfract; }
    void setItemId(quint32 id) { m_id = id; }
    void setLink(quint32 link) { m_link = link; }
    WWidget *linkedItem() const { return m_pLinkedItem; }
    TTransform *transform() const { return m_pTransform; }
    PProtocol *protocol() const { return m_pProtocol; }
    HNode *ownerObject() const { return m_pOwnerObject; }
    void setOwnerObject(HNode *node) { m_pOwnerObject = node; }
    CControl *control() const { return m_pControl; }
    void setControl(CControl *control) { m_pControl = control; }
    // The application model, for the select tool and the selection overlay.
    MModel *model() const { return m_pModel; }
    void setModel(MModel *model) { m_pModel = model; }
    QQuickItem *selector() const { return m_pSelector; }

    void setRootProperty(const char *name, const QVariant &value);
    QVariant rootProperty(const char *name) const;
    void setColor(const char *name, const QString &colorText);
    QString colorName(const char *name) const;
    void setRootText(const QString &text);
    // An image path as the open document has it (redirected into its archive).
    QString resolveImagePath(const QString &path) const;

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
    MModel *m_pModel = nullptr;
    QPointer<QQuickItem> m_pSelector;
};
