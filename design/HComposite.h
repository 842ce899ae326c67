#pragma once

#include "design/HNode.h"

#include <functional>

// A design node with children; it owns them and forwards the tree operations
// to them in list order.
class HComposite : public HNode
{
public:
    HComposite();
    ~HComposite() override;

    int childCount() const { return m_children.count(); }
    const QList<HNode *> &children() const { return m_children; }

    bool writeConnection(XmlWriter *writer, QStringList &written) override;
    HNode *findByCategoryProperty(const QString &category, const QString &key,
                                  const QString &value) override;
    HNode *findByProperty(const QString &key, const QString &value) override;
    HNode *findByNodeId(int nodeID) override;
    HNode *findByCategory(const QString &category) override;
    bool removeChild(HNode *node) override;
    bool pruneUnreferenced() override;
    void clearMarks() override;
    bool removeWhereMarked(bool marked) override;
    void collectByCategory(const QString &category, QList<HNode *> &list) override;
    void sortByOrder(QList<HNode *> &list) override;
    void connectStatus(QObject *receiver) override;
    void clearConnectionUse() override;
    bool purgeUnshown() override;
    void dump() const override;
    void addRows(HTreeRows &rows) override;
    void addChild(HNode *node) override;
    HNode *childAt(int index) const override;
    void setProtocol(PProtocol *protocol) override;
    QString category() const override;

protected:
    // Takes out and deletes, in one pass, the children for which goes answers
    // true; the others keep their order.
    void deleteChildrenWhere(const std::function<bool(HNode *)> &goes);

    QList<HNode *> m_children;
};
