#include "design/HComposite.h"

#include <QDebug>

HComposite::HComposite() = default;

HComposite::~HComposite()
{
    // Children are taken out first so that none can reach a half-destroyed list.
    const QList<HNode *> children = m_children;
    m_children.clear();
    for (HNode *child : children) {
        child->setParent(nullptr);
        delete child;
    }
}

bool HComposite::writeConnection(XmlWriter *writer, QStringList &written)
{
    for (HNode *child : qAsConst(m_children))
        child->writeConnection(writer, written);
    return true;
}

HNode *HComposite::findByCategoryProperty(const QString &category, const QString &key,
                                          const QString &value)
{
    for (HNode *child : qAsConst(m_children)) {
        if (HNode *found = child->findByCategoryProperty(category, key, value))
            return found;
    }
    return nullptr;
}

HNode *HComposite::findByProperty(const QString &key, const QString &value)
{
    for (HNode *child : qAsConst(m_children)) {
        if (HNode *found = child->findByProperty(key, value))
            return found;
    }
    return nullptr;
}

HNode *HComposite::findByNodeId(int nodeID)
{
    for (HNode *child : qAsConst(m_children)) {
        if (HNode *found = child->findByNodeId(nodeID))
            return found;
    }
    return nullptr;
}

HNode *HComposite::findByCategory(const QString &category)
{
    for (HNode *child : qAsConst(m_children)) {
        if (HNode *found = child->findByCategory(category))
            return found;
    }
    return nullptr;
}

bool HComposite::removeChild(HNode *node)
{
    const int index = m_children.indexOf(node);
    if (index < 0)
        return false;
    m_children.removeAt(index);
    node->setParent(nullptr);
    return true;
}

void HComposite::deleteChildrenWhere(const std::function<bool(HNode *)> &goes)
{
    // One pass that keeps the rest in order: a design drops thousands of
    // nodes at once, and taking them out one by one would cost the square.
    QList<HNode *> kept;
    kept.reserve(m_children.count());
    QList<HNode *> gone;
    for (HNode *child : qAsConst(m_children)) {
        if (goes(child))
            gone.append(child);
        else
            kept.append(child);
    }
    if (gone.isEmpty())
        return;
    m_children = kept;
    for (HNode *child : qAsConst(gone)) {
        child->setParent(nullptr);
        delete child;
    }
}

bool HComposite::pruneUnreferenced()
{
    deleteChildrenWhere([](HNode *child) { return child->pruneUnreferenced(); });
    // An emptied composite goes too, unless a panel control still refers to it.
    return m_children.isEmpty() && m_pParent && !isMarked();
}

void HComposite::clearMarks()
{
    HNode::clearMarks();
    for (HNode *child : qAsConst(m_children))
        child->clearMarks();
}

bool HComposite::removeWhereMarked(bool marked)
{
    deleteChildrenWhere([marked](HNode *child) { return child->removeWhereMarked(marked); });
    // A composite that still holds children keeps them alive: panel controls
    // point at marked nodes below it.
    return m_children.isEmpty() && m_pParent && isMarked() == marked;
}

void HComposite::collectByCategory(const QString &category, QList<HNode *> &list)
{
    HNode::collectByCategory(category, list);
    for (HNode *child : qAsConst(m_children))
        child->collectByCategory(category, list);
}

void HComposite::sortByOrder(QList<HNode *> &list)
{
    // Insertion sort: stable, and the lists are short.
    for (int i = 1; i < list.count(); ++i) {
        HNode *node = list.at(i);
        int j = i - 1;
        while (j >= 0 && list.at(j)->order() > node->order()) {
            list[j + 1] = list.at(j);
            --j;
        }
        list[j + 1] = node;
    }
}

void HComposite::connectStatus(QObject *receiver)
{
    for (HNode *child : qAsConst(m_children))
        child->connectStatus(receiver);
}

void HComposite::clearConnectionUse()
{
    HNode::clearConnectionUse();
    for (HNode *child : qAsConst(m_children))
        child->clearConnectionUse();
}

bool HComposite::purgeUnshown()
{
    deleteChildrenWhere([](HNode *child) { return child->purgeUnshown(); });
    return m_children.isEmpty() && m_pParent && !hasFlag(Shown);
}

void HComposite::dump() const
{
    HNode::dump();
    for (HNode *child : qAsConst(m_children))
        child->dump();
}

void HComposite::addRows(HTreeRows &rows)
{
    for (HNode *child : qAsConst(m_children))
        child->addRows(rows);
}

void HComposite::addChild(HNode *node)
{
    if (!node || node == this)
        return;
    if (node->parent())
        node->parent()->removeChild(node);
    node->setParent(this);
    node->setProtocol(m_pProtocol);
    m_children.append(node);
}

HNode *HComposite::childAt(int index) const
{
    return index >= 0 && index < m_children.count() ? m_children.at(index) : nullptr;
}

void HComposite::setProtocol(PProtocol *protocol)
{
    for (HNode *child : qAsConst(m_children))
        child->setProtocol(protocol);
}

QString HComposite::category() const
{
    return QStringLiteral("Composite");
}
