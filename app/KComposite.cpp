#include "app/KComposite.h"

KComposite::KComposite(MModel *model, QWidget *parentWidget) : KController(model, parentWidget) {}

KComposite::~KComposite()
{
    // Children remove themselves from the root while they are deleted, so the
    // list is emptied first and walked from a copy.
    const QList<KController *> children = m_children;
    m_children.clear();
    for (KController *child : children)
        delete child;
}

void KComposite::addController(KController *controller)
{
    if (!controller)
        return;
    controller->setParentController(this);
    controller->initialize();
    m_children.append(controller);
}

bool KComposite::removeController(KController *controller)
{
    return m_children.removeOne(controller);
}

bool KComposite::removeController(int type)
{
    const QList<KController *> children = m_children;
    for (KController *child : children) {
        QPointer<KController> guard(child);
        if (child->removeController(type)) {
            // A nested composite answers true for a grandchild it deleted; it
            // stays in the list. Only a deleted child leaves it (by address).
            if (guard.isNull())
                m_children.removeOne(child);
            return true;
        }
    }
    return false;
}

KController *KComposite::findController(int type)
{
    if (this->type() == type)
        return this;
    for (KController *child : qAsConst(m_children)) {
        if (KController *found = child->findController(type))
            return found;
    }
    return nullptr;
}

void KComposite::update(int hint)
{
    // Indexed so that a child removed by another child's reaction is never
    // reached through a stale pointer.
    for (int i = 0; i < m_children.count(); ++i)
        m_children.at(i)->update(hint);
}

void KComposite::setModel(MModel *model)
{
    KController::setModel(model);
    for (KController *child : qAsConst(m_children))
        child->setModel(model);
}
