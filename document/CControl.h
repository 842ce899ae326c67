#pragma once

#include "document/CAttributes.h"
#include "document/CItemRecord.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class CComposite;
class CControl;
class CControlHost;
class CIdSource;
class CItem;
class CItemFactory;
class HNode;
class HRoot;
class QObject;
class QStandardItem;
class QWidget;
class TTransform;
class XmlWriter;

// One control of a panel, and the base of every node of the document tree.
// It binds a design block, its attributes record and a value transform, and
// keeps the values of its items; live items, where the application builds
// them, show those values and write their changes back.
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
    virtual CItem *findItem(const QString &typeName) const;
    virtual CItem *findItemById(quint32 id) const;
    virtual bool contains(const CControl *node) const;
    virtual CControl *findById(quint32 id);
    virtual void addChild(CControl *child);
    // Hands the child back to the caller unless it is destroyed; null when
    // it was not a child.
    virtual std::unique_ptr<CControl> removeChild(CControl *child, bool destroy);
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
    // Rows of the project tree; expand is called for each row to show open.
    virtual void addTreeRow(QStandardItem *parentRow,
                            const std::function<void(QStandardItem *)> &expand);
    virtual QString summary() const;
    virtual void setSelected(int state);
    virtual bool collectSelected(QList<CControl *> &list);
    virtual QWidget *createPropertiesDialog(QWidget *parent);
    virtual void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix);
    virtual void setParentItem(QObject *item);
    virtual void setEditMode(bool on);
    virtual void updateSkin();
    virtual void markHardware();
    virtual QString path(const CControl *target) const;
    virtual void dump() const;
    virtual void setModel(CControlHost *model);
    // Builds the live items of records that have none, through the factory;
    // answers whether it built any.
    virtual bool createItems(CItemFactory *factory);
    // Asks every live item to write its current values back to its record.
    virtual void storeItems();

    // Reader hooks.
    void beginItem(const QString &typeName);
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

    // The ids of the document this control belongs to: the top of its tree
    // hands them out.
    CIdSource &idSource();
    // Takes the next id of the document.
    void assignNewId();
    // The id source this control made while it was the top of a tree; a
    // composite adopting it moves its own ids past the ones handed out.
    std::unique_ptr<CIdSource> takeOwnIdSource();

    HNode *block() const { return m_pBlock; }
    void setBlock(HNode *block);
    CComposite *parent() const { return m_pParent; }
    void setParent(CComposite *parent) { m_pParent = parent; }
    CControlHost *model() const { return m_pModel; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString type() const { return m_type; }
    void setType(const QString &type) { m_type = type; }
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    quint32 id() const { return m_id; }
    // An id read from a file; the document's ids move past it.
    void setId(quint32 id);
    CControl *dropSiteHost() const { return m_pDropSiteHost; }
    void setDropSiteHost(CControl *host) { m_pDropSiteHost = host; }
    CAttributes &attributes() { return m_attributes; }
    const CAttributes &attributes() const { return m_attributes; }
    TTransform *transform() const { return m_pTransform; }
    void setTransform(TTransform *transform);
    // The item records in file order; each may have a live item.
    const QVector<CItemRecord> &itemRecords() const { return m_records; }
    void appendItemRecord(const CItemRecord &record) { m_records.append(record); }
    // Adds a live item built elsewhere; its record fills when it is stored.
    void appendItem(CItem *item);
    // Whether any item of the control, live or not, is of that type.
    bool hasItemOfType(const QString &typeName) const;
    // Whether a record waits for its live item (none built, none failed).
    bool hasUnbuiltItems() const;
    // The live items, in record order.
    QList<CItem *> items() const;
    int selectionState() const { return m_selectionState; }
    // The item named after the control's type in lower case.
    CItem *mainItem() const;

protected:

    HNode *m_pBlock = nullptr;
    CComposite *m_pParent = nullptr;
    CControlHost *m_pModel = nullptr;
    QString m_name;
    QString m_type;
    QString m_tag;
    quint32 m_id = 0;
    CControl *m_pDropSiteHost = nullptr;
    std::optional<CItemRecord> m_itemUnderConstruction;
    CAttributes m_attributes;
    TTransform *m_pTransform = nullptr;
    QVector<CItemRecord> m_records;
    int m_selectionState = 0;
    // The skin changed while items waited to be built: they take it when built.
    bool m_skinPending = false;
    // Only the top of a tree has one, made when first asked.
    std::unique_ptr<CIdSource> m_pIdSource;
};
