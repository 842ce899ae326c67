#pragma once

#include "design/HTreeRow.h"

#include <QList>
#include <QString>
#include <Qt>

class CParameter;
class HTreeRows;
class PProtocol;
class QObject;
class QStandardItem;
class QStandardItemModel;
class QXmlStreamAttributes;
class XmlWriter;

// One node of the imported design: a processor, a card, a block, a group or a
// parameter set. The tree owns its nodes through parent-child lists.
class HNode
{
public:
    enum Flag : quint32
    {
        Chassis = 1,
        NotReferenced = 2,
        InUse = 4,
        Shown = 8,
        MainChassis = 16,
        ConnectionInUse = 32,
    };

    HNode();
    virtual ~HNode();
    HNode(const HNode &) = delete;
    HNode &operator=(const HNode &) = delete;

    // One design Property element: its name and value attributes.
    virtual void readProperty(const QString &name, const QString &value);
    virtual void readAssignment(const QXmlStreamAttributes &attributes);
    virtual void setConnectionValue(const QString &key, const QString &value);
    virtual void endConnectionValue(const QString &key);
    virtual bool validate();
    virtual bool writeConnection(XmlWriter *writer, QStringList &written);
    virtual HNode *findByCategoryProperty(const QString &category, const QString &key,
                                          const QString &value);
    virtual HNode *findByProperty(const QString &key, const QString &value);
    virtual HNode *findByNodeId(int nodeID);
    virtual HNode *findByCategory(const QString &category);
    virtual bool removeChild(HNode *node);
    // These three answer whether the node is to go; its parent then takes
    // it out and deletes it.
    virtual bool pruneUnreferenced();
    virtual void clearMarks();
    virtual bool removeWhereMarked(bool marked);
    virtual void setMarked(bool on);
    virtual bool isMarked() const;
    virtual void collectByCategory(const QString &category, QList<HNode *> &list);
    virtual void sortByOrder(QList<HNode *> &list);
    virtual void connectStatus(QObject *receiver);
    virtual void clearConnectionUse();
    virtual bool purgeUnshown();
    virtual void dump() const;
    // Adds the node's rows (and its children's) to the project tree.
    virtual void addRows(HTreeRows &rows);
    virtual void clearText(QString &text);
    virtual bool confirmDrop(const QString &parameterName);
    virtual void addChild(HNode *node);
    virtual HNode *childAt(int index) const;
    virtual void setProtocol(PProtocol *protocol);
    virtual HNode *chooseParent(HNode *main, HNode *current);
    virtual QString channelLabel(int channel) const;
    virtual QString templatePath(const QString &parameterName);
    virtual QString platformDirectory() const;
    virtual QString category() const;
    virtual QStandardItem *findTreeItem(const HTreeRows &rows) const;

    // The rows' roles under the names the rest of the program knows them by.
    static constexpr int NodeRole = HTreeRow::IdentityRole;
    static constexpr int IconPathRole = HTreeRow::IconPathRole;
    // Texts of the hardware tree, translated in one context so that category
    // names compare equal wherever they are made.
    static QString tr(const char *text);
    // The node whose address a row stores; null when it stores none.
    static HNode *nodeOfRow(const QStandardItem *row);

    // Builds the rows of this node and everything below it into the model;
    // nothing happens without a model.
    void populate(QStandardItemModel *model);

    QString property(const QString &key) const;
    QString chassisLabel() const;
    HNode *nearestWithFlags(quint32 bits);
    // 0: no template; 1: a template without parameters; 2: parameters read.
    int loadParameters();
    void deleteParameters();

    HNode *parent() const { return m_pParent; }
    void setParent(HNode *parent) { m_pParent = parent; }
    PProtocol *protocol() const { return m_pProtocol; }
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    int module() const { return m_module; }
    void setModule(int value) { m_module = value; }
    int channel() const { return m_channel; }
    void setChannel(int value) { m_channel = value; }
    int index() const { return m_index; }
    void setIndex(int value) { m_index = value; }
    int nodeID() const { return m_nodeID; }
    void setNodeID(int value) { m_nodeID = value; }
    QString typenum() const { return m_typenum; }
    void setTypenum(const QString &typenum) { m_typenum = typenum; }
    QString id() const { return m_id; }
    void setId(const QString &id) { m_id = id; }
    quint32 flags() const { return m_flags; }
    void setFlags(quint32 flags) { m_flags = flags; }
    void setFlag(quint32 bits, bool on);
    bool hasFlag(quint32 bits) const { return (m_flags & bits) == bits; }
    int order() const { return m_order; }
    void setOrder(int order) { m_order = order; }
    Qt::ItemFlags itemFlags() const { return m_itemFlags; }
    void setItemFlags(Qt::ItemFlags flags) { m_itemFlags = flags; }
    QString names() const { return m_names; }
    void setNames(const QString &names) { m_names = names; }
    const QList<CParameter *> &parameters() const { return m_parameters; }
    QList<CParameter *> &parameters() { return m_parameters; }

protected:
    // The node's row flags made draggable, with the drag kind of the row.
    Qt::ItemFlags draggable(int dragKind) const
    {
        return HTreeRow::withDragKind(m_itemFlags | Qt::ItemIsDragEnabled, dragKind);
    }

    HNode *m_pParent = nullptr;
    PProtocol *m_pProtocol = nullptr;
    QString m_label;
    QString m_title;
    int m_module = 0;
    int m_channel = 0;
    int m_index = 0;
    int m_nodeID = 0;
    QString m_typenum;
    QString m_id;
    quint32 m_flags = NotReferenced;
    int m_order = -1;
    Qt::ItemFlags m_itemFlags = HTreeRow::GroupFlags;
    QString m_names;
    QList<CParameter *> m_parameters;
};
