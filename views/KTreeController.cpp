#include "views/KTreeController.h"

#include "app/MModel.h"
#include "design/HTreeRow.h"
#include "document/CComposite.h"
#include "views/VModel.h"
#include "views/VTree.h"

#include <QMouseEvent>

namespace {
// The panel behind a link row, if it is still part of the document.
CComposite *linkedPanel(CComposite *node, quint64 identity)
{
    if (!node)
        return nullptr;
    if (quint64(reinterpret_cast<quintptr>(node)) == identity)
        return node;
    for (CControl *child : node->children()) {
        if (CComposite *found = linkedPanel(dynamic_cast<CComposite *>(child), identity))
            return found;
    }
    return nullptr;
}
} // namespace

KTreeController::KTreeController(MModel *model, QWidget *page) : KController(model, page)
{
    m_pTree = new VTree(page);
    m_pItems = new VModel(m_pTree);
    m_pItems->setModel(model);
    m_pTree->setModel(m_pItems);
    m_pTree->setController(this);
    m_pTree->setEditMode(model && model->editMode());
}

KTreeController::~KTreeController() = default;

int KTreeController::type() const
{
    return TreeType;
}

void KTreeController::setGeometry(const QRect &rect)
{
    if (m_pTree)
        m_pTree->setGeometry(rect);
}

void KTreeController::setEditMode(bool on)
{
    if (m_pTree)
        m_pTree->setEditMode(on);
}

void KTreeController::clear()
{
    if (m_pTree)
        m_pTree->reset();
    if (m_pItems)
        m_pItems->clear();
}

void KTreeController::rebuild()
{
    if (!m_pTree || !m_pItems || !model())
        return;
    clear();
    m_pItems->rebuild();
    m_pTree->collapseAll();
    m_pTree->expandMarked();
    setTitle(model()->designPath());
}

void KTreeController::setTitle(const QString &title)
{
    if (!m_pItems)
        return;
    if (!m_pItems->horizontalHeaderItem(0))
        m_pItems->setHorizontalHeaderItem(0, new QStandardItem());
    m_pItems->horizontalHeaderItem(0)->setText(title.mid(title.lastIndexOf(QLatin1Char('/')) + 1));
}

void KTreeController::update(int hint)
{
    if (hint == DocumentReloaded) {
        rebuild();
    } else if (hint == PanelsChanged && m_pItems && m_pItems->refreshLinks() && m_pTree) {
        m_pTree->expandMarked();
    }
}

void KTreeController::itemDoubleClicked(QMouseEvent *event)
{
    if (!m_pTree || !m_pItems || !event || !model())
        return;
    const QModelIndex index = m_pTree->indexAt(event->pos());
    const QStandardItem *row = m_pItems->itemFromIndex(index);
    if (!row || HTreeRow::dragKind(row->flags()) != HTreeRow::DragLink)
        return;
    // The row names the panel by address: only a panel still in the
    // document is followed.
    CComposite *root = model()->documentRoot();
    CComposite *panel = linkedPanel(root, VModel::identity(row));
    if (panel)
        model()->followPath(root->path(panel));
}
