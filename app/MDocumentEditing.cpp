#include "app/MDocumentEditing.h"

#include "app/MModel.h"
#include "app/UMessage.h"
#include "document/CItem.h"
#include "document/CLoadContext.h"
#include "design/HRoot.h"
#include "document/CComposite.h"

namespace {
const QString GroupScenes = QStringLiteral("Scenes");
const QString GroupPanels = QStringLiteral("Panels");
constexpr int MaxPanelsPerCollection = 6;
} // namespace

MDocumentEditing::MDocumentEditing(MModel &model) : m(model) {}


CComposite *MDocumentEditing::addCollection()
{
    if (!m.documentRoot())
        return nullptr;
    auto *collection = new CComposite();
    m.documentRoot()->addChild(collection);
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(MModel::tr("COLLECTION") + QString::number(m.documentRoot()->childCount()));
    collection->setModel(&m);
    return collection;
}

CComposite *MDocumentEditing::addPanel(HNode *node)
{
    if (!m.hardwareRoot() || !m.documentRoot() || !node)
        return nullptr;
    if (m.m_pCurrentPanel && m.m_pCurrentPanel->parent() &&
        m.m_pCurrentPanel->parent()->childCount() >= MaxPanelsPerCollection) {
        UMessage::warning(nullptr, MModel::tr("Warning"),
                          MModel::tr("The maximum number of panels in a scene is: 6"));
        return nullptr;
    }
    CComposite *collection = m.currentCollection();
    if (!collection)
        return nullptr;
    auto *panel = new CComposite();
    collection->addChild(panel);
    panel->setModel(&m);
    CLoadContext context;
    context.hardware = m.hardwareRoot();
    // The panel's controls drive the node they were made for, as a dropped
    // parameter's control does.
    context.block = node;
    panel->loadFile(node->templatePath(QString()), context);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    panel->setName(node->label());
    for (CControl *child : panel->children()) {
        if (child->name() == QLatin1String("Title") && child->type() == QLatin1String("Label")) {
            if (CItem *label = child->findItem(QStringLiteral("label"))) {
                label->setTitle(node->label());
                break;
            }
        }
    }
    m.m_modified = true;
    selectPanel(panel);
    m.refreshViewState();
    return panel;
}

void MDocumentEditing::selectPanel(CComposite *panel)
{
    if (!panel || panel == m.m_pCurrentPanel)
        return;
    CComposite *collection = m.m_pCurrentPanel ? m.m_pCurrentPanel->parent() : panel->parent();
    if (m.m_pCurrentPanel)
        m.m_pCurrentPanel->show(false);
    const int index = collection ? collection->indexOf(panel) : -1;
    if (index < 0) {
        m.m_pCurrentPanel = nullptr;
        return;
    }
    collection->setCurrentIndex(index);
    m.m_pCurrentPanel = panel;
    panel->show(true);
    m.setQmlProperty("pageIndex", index);
    panel->poll();
    emit m.resetQMLFocus();
}

bool MDocumentEditing::setPage(int index)
{
    CComposite *current =
        m.documentRoot() ? dynamic_cast<CComposite *>(m.documentRoot()->current(GroupPanels)) : nullptr;
    if (!current) {
        m.m_pCurrentPanel = nullptr;
        return false;
    }
    current->show(false);
    CComposite *collection = current->parent();
    if (collection)
        collection->setCurrentIndex(index);
    current = dynamic_cast<CComposite *>(m.documentRoot()->current(GroupPanels));
    m.m_pCurrentPanel = current;
    if (!current)
        return false;
    current->show(true);
    m.setQmlProperty("pageIndex", index);
    current->poll();
    return true;
}

bool MDocumentEditing::stepPage(int offset)
{
    CComposite *collection = m.currentCollection();
    if (!collection || collection->childCount() == 0)
        return false;
    int index = collection->currentIndex() + offset;
    if (index >= collection->childCount())
        index = 0;
    else if (index < 0)
        index = collection->childCount() - 1;
    return setPage(index);
}

bool MDocumentEditing::selectCollection(const QString &name)
{
    if (!m.documentRoot())
        return false;
    CControl *current = m.documentRoot()->current(GroupScenes);
    if (current && current->name() == name)
        return true;
    CComposite *previous = m.m_pCurrentPanel;
    if (previous)
        previous->show(false);
    if (!m.documentRoot()->makeCurrent(GroupScenes, name)) {
        if (previous)
            previous->show(true);
        return false;
    }
    m.m_pCurrentPanel = dynamic_cast<CComposite *>(m.documentRoot()->current(GroupPanels));
    if (m.m_pCurrentPanel)
        m.m_pCurrentPanel->show(true);
    m.pushPageState();
    if (m.m_pCurrentPanel)
        m.m_pCurrentPanel->poll();
    CComposite *collection = m.currentCollection();
    m.setQmlProperty("sceneTitle", collection ? collection->name() : QString());
    emit m.resetQMLFocus();
    return true;
}

bool MDocumentEditing::selectCollection(int index)
{
    CControl *collection = m.documentRoot() ? m.documentRoot()->childAt(index) : nullptr;
    if (!collection)
        return false;
    return selectCollection(collection->name());
}

void MDocumentEditing::addControl(CControl *control)
{
    if (!m.m_pCurrentPanel || !control)
        return;
    m.m_pCurrentPanel->addChild(control);
    m.m_modified = true;
    m.refreshCanvasController();
}

void MDocumentEditing::addControls(const QList<CControl *> &controls)
{
    if (!m.m_pCurrentPanel)
        return;
    for (CControl *control : controls) {
        m.m_pCurrentPanel->addChild(control);
        control->show(true);
    }
    m.m_modified = true;
    m.refreshCanvasController();
}

std::unique_ptr<CControl> MDocumentEditing::takeOut(CControl *control, bool destroy)
{
    control->setSelected(0);
    control->show(false);
    CComposite *owner = control->parent() ? control->parent() : m.m_pCurrentPanel;
    return owner ? owner->removeChild(control, destroy) : nullptr;
}

void MDocumentEditing::afterRemoval()
{
    m.m_modified = true;
    if (m.documentRoot() && m.documentRoot()->transformCount() == 0)
        emit m.enableConnection(false);
    m.refreshCanvasController();
}

std::unique_ptr<CControl> MDocumentEditing::removeControl(CControl *control, bool destroy)
{
    if (!control)
        return nullptr;
    std::unique_ptr<CControl> removed = takeOut(control, destroy);
    afterRemoval();
    return removed;
}

std::vector<std::unique_ptr<CControl>> MDocumentEditing::removeControls(
    const QList<CControl *> &controls)
{
    std::vector<std::unique_ptr<CControl>> removed;
    for (CControl *control : controls) {
        if (std::unique_ptr<CControl> taken = takeOut(control, false))
            removed.push_back(std::move(taken));
    }
    afterRemoval();
    return removed;
}

void MDocumentEditing::clearSelection()
{
    QList<CControl *> selected;
    m.documentRoot()->collectSelected(selected);
    for (CControl *control : qAsConst(selected))
        control->setSelected(0);
}

CControl *MDocumentEditing::finishNewControl(CControl *control, bool bound)
{
    if (!control)
        return nullptr;
    control->setModel(&m);
    m.m_pCurrentPanel->show(true);
    control->setEditMode(true);
    m.m_modified = true;
    if (bound)
        emit m.enableConnection(true);
    else
        emit m.resetQMLFocus();
    return control;
}

CControl *MDocumentEditing::createNodeControl(HNode *node, const QString &parameter, const QPointF &point)
{
    if (!m.hardwareRoot() || !m.m_pCurrentPanel)
        return nullptr;
    return finishNewControl(
        m.m_pCurrentPanel->loadNodeControl(m.hardwareRoot(), node, parameter, point), true);
}

CControl *MDocumentEditing::createGraphicControl(const QString &label, const QPointF &point)
{
    if (!m.m_pCurrentPanel)
        return nullptr;
    return finishNewControl(m.m_pCurrentPanel->loadGraphic(label, point), false);
}

CControl *MDocumentEditing::createPanelLink(CComposite *target, const QPointF &point)
{
    if (!m.m_pCurrentPanel) {
        UMessage::warning(nullptr, MModel::tr("Warning"), MModel::tr("There are no panels in this collection."));
        return nullptr;
    }
    return finishNewControl(m.m_pCurrentPanel->loadPanelLink(target, point), false);
}

