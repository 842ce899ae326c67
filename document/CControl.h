#pragma once

#include "document/CAttributes.h"

#include <QList>
#include <QPointer>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>

class CComposite;
class CControl;
class CCanvas;
class HNode;
class HRoot;
class MModel;
class MProject;
class QModelIndex;
class QQuickItem;
class QStandardItem;
class QTreeView;
class QWidget;
class TTransform;
class WWidget;
class XmlWriter;

// One control of a panel, and the base of every node of the document tree.
// It binds a design block, its attributes record and a value transform, and
// owns the canvas items that show it.
class CControl
{
public:
    CControl();
    virtual ~CControl();
    CControl(const CControl &) = delete;
    CControl &operator=(const CControl &) = delete;

    virtual void rebind();
    virtual void releaseItems();
    virtual bool write(XmlWriter *writer);
    virtual bool poll();
    virtual QRectF bounds() const;
    virtual void show(bool visible);
    virtual void rescale(double factor, double height);
    virtual void moveBy(double dx, double dy);
    virtual bool fitWidth(const QString &groupType, double width);
    virtual void setTransformPhase(int phase);
    virtual WWidget *findItem(const QString &typeName) const;
    virtual WWidget *findItemById(quint32 id) const;
    virtual bool contains(const CControl *node) const;
    virtual CControl *findById(quint32 id);
    virtual void addChild(CControl *child);
    virtual void removeChild(CControl *child, bool destroy);
    virtual void clear();
    virtual bool isNameFree(const QString &name, const CControl *except) const;
    virtual CControl *current(const QString &group) const;
    virtual bool selectPath(QString &path);
    virtual bool makeCurrent(const QString &group, const QString &name);
    virtual int transformCount() const;
    virtual CControl *loadNodeControl(HRoot *hardware, HNode *node, QString parameter,
                                      const QPointF &point);
    virtual CControl *loadText(const QString &text, HRoot *hardware);
    virtual CControl *loadGraphic(const QString &label, const QPointF &point);
    virtual CControl *loadPanelLink(CComposite *target, const QPointF &point);
    virtual void addTreeRow(QStandardItem *parentRow, QTreeView *view);
    virtual QString summary() const;
    virtual void setSelected(int state);
    virtual bool collectSelected(CComposite *list);
    virtual QWidget *createPropertiesDialog(QWidget *parent);
    virtual void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix);
    virtual void setParentItem(QQuickItem *item);
    virtual void setEditMode(bool on);
    virtual void updateSkin();
    virtual void markHardware();
    virtual QString path(const CControl *target) const;
    virtual void dump() const;
    virtual void setModel(MModel *model);

    // Reader hooks.
    void addItem(const QString &typeName);
    void loadItemAttribute(const QString &itemType, const QString &name, const QString &text);
    void setAttributeValue(const QString &kind, const QString &key, const QString &text);
    void finishAttributes();

    // Item geometry.
    void setItemsGeometry(double x, double y, double width, double height);
    void resizeTo(const QRectF &rect);
    void reshape(double a, double b, double c, double d, double e, double f);
    bool hasSlider() const;
    void enableDropSite(bool enable);
    // Replaces the size of rect with the one remembered for this control's type.
    void defaultSize(QRectF &rect) const;
    void rememberSize() const;
    QString blockLabel() const;
    QString pathName() const;
    // The tool tip items show: the block's label, after its parent's and " : ".
    QString toolTip() const;

    // The id counter is program-wide; ids read from a file must push it past
    // themselves so new controls never repeat one.
    static quint32 nextId();

    HNode *block() const { return m_pBlock; }
    void setBlock(HNode *block);
    CComposite *parent() const { return m_pParent; }
    void setParent(CComposite *parent) { m_pParent = parent; }
    MModel *model() const { return m_pModel; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString type() const { return m_type; }
    void setType(const QString &type) { m_type = type; }
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    quint32 id() const { return m_id; }
    void setId(quint32 id);
    CControl *dropSiteHost() const { return m_pDropSiteHost; }
    void setDropSiteHost(CControl *host) { m_pDropSiteHost = host; }
    CAttributes &attributes() { return m_attributes; }
    const CAttributes &attributes() const { return m_attributes; }
    TTransform *transform() const { return m_pTransform; }
    void setTransform(TTransform *transform);
    // The items still alive: they belong to the canvas scene, which may go
    // before the document does.
    QList<WWidget *> items() const;
    void appendItem(WWidget *item);
    int selectionState() const { return m_selectionState; }
    WWidget *itemUnderConstruction() const { return m_pItemUnderConstruction; }
    // The item named after the control's type in lower case.
    WWidget *mainItem() const;

protected:
    HNode *m_pBlock = nullptr;
    CComposite *m_pParent = nullptr;
    MModel *m_pModel = nullptr;
    QString m_name;
    QString m_type;
    QString m_tag;
    quint32 m_id = 0;
    CControl *m_pDropSiteHost = nullptr;
    WWidget *m_pItemUnderConstruction = nullptr;
    CAttributes m_attributes;
    TTransform *m_pTransform = nullptr;
    QList<QPointer<WWidget>> m_items;
    int m_selectionState = 0;
};
