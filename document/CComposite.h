#pragma once

#include "document/CControl.h"
#include "document/CLoadContext.h"

#include <QHash>
#include <QPersistentModelIndex>

class QIODevice;

// An inner node of the document tree: the root, a collection or a panel. It
// owns its children.
class CComposite : public CControl
{
public:
    enum PanelKind { Undetermined = 0, Complete = 1, Template = 2, Custom = 3 };

    CComposite();
    ~CComposite() override;

    void rebind() override;
    void releaseItems() override;
    bool write(XmlWriter *writer) override;
    bool poll() override;
    QRectF bounds() const override;
    void show(bool visible) override;
    void rescale(double factor, double height) override;
    void moveBy(double dx, double dy) override;
    bool fitWidth(const QString &groupType, double width) override;
    void setTransformPhase(int phase) override;
    CItem *findItem(const QString &typeName) const override;
    CItem *findItemById(quint32 id) const override;
    bool contains(const CControl *node) const override;
    CControl *findById(quint32 id) override;
    void addChild(CControl *child) override;
    std::unique_ptr<CControl> removeChild(CControl *child, bool destroy) override;
    void clear() override;
    bool isNameFree(const QString &name, const CControl *except) const override;
    CControl *current(const QString &group) const override;
    bool selectPath(QString &path) override;
    bool makeCurrent(const QString &group, const QString &name) override;
    int transformCount() const override;
    CControl *loadNodeControl(HRoot *hardware, HNode *node, QString parameter,
                              const QPointF &point) override;
    CControl *loadText(const QString &text, HRoot *hardware) override;
    CControl *loadGraphic(const QString &label, const QPointF &point) override;
    CControl *loadPanelLink(CComposite *target, const QPointF &point) override;
    void addTreeRow(QStandardItem *parentRow,
                    const std::function<void(QStandardItem *)> &expand) override;
    QString summary() const override;
    void setSelected(int state) override;
    bool collectSelected(QList<CControl *> &list) override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix) override;
    void setParentItem(QObject *item) override;
    void setEditMode(bool on) override;
    void updateSkin() override;
    void markHardware() override;
    QString path(const CControl *target) const override;
    void dump() const override;
    void setModel(CControlHost *model) override;
    bool createItems(CItemFactory *factory) override;
    void storeItems() override;

    // "Scene" and "Panel" set tag, child group and default name; other words
    // only the tag.
    void assignKind(const QString &kind);
    int childCount() const { return m_children.count(); }
    CControl *childAt(int index) const;
    int indexOf(const CControl *child) const { return m_children.indexOf(const_cast<CControl *>(child)); }
    const QList<CControl *> &children() const { return m_children; }
    bool swapChild(CControl *child, int offset);
    // Takes each listed child out and reinserts it at the paired position.
    void reorderChildren(const QList<QPair<CControl *, int>> &moves);
    QList<QRectF> childBounds() const;
    QString panelKindText() const;
    static QString panelKindText(int kind);
    QString titleText() const;
    // From a file's type word; an empty word derives the kind from the content.
    void setPanelKind(const QString &typeWord);

    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index) { m_currentIndex = index; }
    int panelKind() const { return m_panelKind; }
    void setPanelKindValue(int kind) { m_panelKind = kind; }
    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded) { m_expanded = expanded; }
    QPersistentModelIndex treeRow() const { return m_treeRow; }
    void setTreeRow(const QPersistentModelIndex &row) { m_treeRow = row; }

    // Lookups the children make of their parent while they rebind; an index
    // built once per rebind keeps a large panel linear.
    CControl *childById(quint32 id);
    CItem *itemById(quint32 id) const;

    // Builds the live items its controls still lack, through the host's
    // factory, and binds them as a read does; the host then places them.
    void ensureItems();

    // Reads a panel file (or template) into this composite, builds the live
    // items of what it added (when the host has an item factory and the
    // context does not defer them) and rebinds.
    bool loadFile(const QString &path, const CLoadContext &context, QString *errorText = nullptr);
    // The same from an open device.
    bool loadDevice(QIODevice *device, const CLoadContext &context, QString *errorText = nullptr);
    // The same from an in-memory text (clipboard, drag data).
    bool loadString(const QString &text, const CLoadContext &context,
                    QString *errorText = nullptr);

private:
    void finishLoad(int firstNewChild, bool deferItems);
    void placeHorizontally(double width);

    QList<CControl *> m_children;
    int m_currentIndex = 0;
    int m_panelKind = Undetermined;
    bool m_expanded = true;
    QPersistentModelIndex m_treeRow;
    // Filled only while rebind() runs over the children.
    QHash<quint32, CControl *> *m_pIdIndex = nullptr;
    QHash<quint32, CItem *> *m_pItemIndex = nullptr;
};
