#include "app/KController.h"

#include "app/KComposite.h"
#include "app/MModel.h"

#include <QAction>
#include <QWidget>

KController::KController(MModel *model, QWidget *parentWidget)
    : m_pModel(model), m_pParentWidget(parentWidget)
{
}

KController::~KController()
{
    // Leave no dangling entry behind in the model's root, nor in the composite
    // that adopted this controller when that is not the root.
    KComposite *root = m_pModel ? m_pModel->controllers() : nullptr;
    if (root && root != static_cast<KController *>(this))
        root->removeController(this);
    KController *parent = m_pParentController;
    if (parent && parent != root)
        parent->removeController(this);
}

MModel *KController::model() const
{
    return m_pModel;
}

QWidget *KController::parentWidget() const
{
    return m_pParentWidget;
}

void KController::setParentWidget(QWidget *widget)
{
    m_pParentWidget = widget;
}

KController *KController::parentController() const
{
    return m_pParentController;
}

void KController::setParentController(KController *controller)
{
    m_pParentController = controller;
}

void KController::initialize() {}

void KController::reset() {}

void KController::setGeometry(const QRect &) {}

void KController::setEditMode(bool) {}

void KController::clear() {}

void KController::rebuild() {}

void KController::setTitle(const QString &) {}

void KController::update(int) {}

void KController::itemDoubleClicked(QMouseEvent *) {}

void KController::addController(KController *) {}

bool KController::removeController(KController *controller)
{
    if (controller != this)
        return false;
    // A leaf asked to remove itself goes at once; its destructor takes it out
    // of the composites that hold it.
    delete this;
    return true;
}

bool KController::removeController(int type)
{
    return this->type() == type && KController::removeController(this);
}

KController *KController::findController(int type)
{
    return this->type() == type ? this : nullptr;
}

int KController::type() const
{
    return BaseType;
}

void KController::setModel(MModel *model)
{
    m_pModel = model;
}

KController *KController::controller()
{
    return this;
}

QWidget *KController::view() const
{
    return nullptr;
}

QAction *KController::action(int) const
{
    return nullptr;
}

void KController::setActionChecked(int id, bool checked)
{
    if (QAction *found = action(id))
        found->setChecked(checked);
}

void KController::setActionEnabled(int id, bool enabled)
{
    if (QAction *found = action(id))
        found->setEnabled(enabled);
}
