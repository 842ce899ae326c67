#include "commands/BDropSiteCommand.h"

#include "app/MModel.h"
#include "commands/BCommandFactory.h"
#include "commands/BDropPlacement.h"
#include "controls/MQmlInterface.h"
#include "controls/WWidget.h"
#include "design/HNode.h"
#include "document/CComposite.h"

#include <QCoreApplication>

BDropSiteCommand::BDropSiteCommand() : BCommand(Recorded) {}

BDropSiteCommand::~BDropSiteCommand() = default;

bool BDropSiteCommand::siteIntact() const
{
    return m_pModel && m_pSite && m_pSitePanel && m_pSitePanel->contains(m_pSiteControl);
}

void BDropSiteCommand::emptySite(BControlList &owner)
{
    CControl *held = m_pSite->child();
    const int index = held ? m_pSitePanel->indexOf(held) : -1;
    m_pModel->resetPointerTool();
    // The site hands what it held out of the document to whoever asked first.
    m_pSite->setChild(nullptr);
    if (held && !m_pSitePanel->contains(held))
        owner.adopt(std::unique_ptr<CControl>(held), m_pSitePanel, index);
}

QVariant BDropSiteCommand::siteTitle() const
{
    CItem *label = m_pSiteControl ? m_pSiteControl->findItem(QStringLiteral("label")) : nullptr;
    auto *widget = label ? qobject_cast<WWidget *>(label->itemObject()) : nullptr;
    return widget ? widget->rootProperty("text") : QVariant();
}

void BDropSiteCommand::setSiteTitle(const QVariant &title)
{
    CItem *label = m_pSiteControl ? m_pSiteControl->findItem(QStringLiteral("label")) : nullptr;
    if (auto *widget = label ? qobject_cast<WWidget *>(label->itemObject()) : nullptr)
        widget->setRootProperty("text", title);
}

void BDropSiteCommand::prepare()
{
    const bool wasModified = m_pModel && m_pModel->isModified();
    MQmlInterface *drop = dropData();
    m_pSite = drop ? drop->dropSiteItem() : nullptr;
    m_pNode = drop ? drop->droppedNode() : nullptr;
    m_text = drop ? drop->dropText() : QString();
    m_pSiteControl = m_pSite ? m_pSite->control() : nullptr;
    m_pSitePanel = m_pSiteControl ? m_pSiteControl->parent() : nullptr;
    BCommand::prepare();
    // The site asks before it replaces what it holds.
    if (siteIntact() && m_pNode && m_pSite->acceptDrop(m_pNode, m_text)) {
        const QRectF rect = m_pSite->rootGeometry();
        m_emptyTitle = siteTitle();
        m_nodeWasMarked = m_pNode->isMarked();
        m_pModel->resetPointerTool();
        m_pModel->clearSelection();
        m_pNew = m_pModel->createNodeControl(m_pNode, m_text, rect.topLeft());
        if (m_pNew) {
            emptySite(m_previous);
            m_pSite->setChild(m_pNew);
            m_pNew->setItemsGeometry(rect.x(), rect.y(), rect.width(), rect.height());
            m_new.setPlaced({m_pNew});
            m_new.select(m_pModel);
            m_pNode->setMarked(true);
            m_state = Done;
            return;
        }
    }
    m_undoMode = Transient;
    if (m_pModel)
        m_pModel->setModified(wasModified);
}

void BDropSiteCommand::redoCommand()
{
    if (m_state == Undone && siteIntact()) {
        reselect();
        emptySite(m_previous);
        m_new.putBack(m_pModel);
        m_pSite->setChild(m_pNew);
        m_new.select(m_pModel);
        BDropPlacement::markNode(m_pModel, m_pNode, true);
    }
    m_state = Done;
}

void BDropSiteCommand::undoCommand()
{
    if (siteIntact() && m_pSite->child() == m_pNew) {
        reselect();
        emptySite(m_new);
        if (m_previous.ownsControls()) {
            CControl *previous = m_previous.controls().value(0);
            m_previous.putBack(m_pModel);
            m_pSite->setChild(previous);
        } else {
            setSiteTitle(m_emptyTitle);
        }
        BDropPlacement::markNode(m_pModel, m_pNode, m_nodeWasMarked);
    }
    m_state = Undone;
}

QString BDropSiteCommand::text() const
{
    return QCoreApplication::translate("BDropSiteCommand", "Drop Site");
}

int BDropSiteCommand::id() const
{
    return BCommandFactory::DropSite;
}
