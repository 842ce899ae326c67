#include "document/CControl.h"

#include "design/HNode.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "device/TTransformFactory.h"
#include "document/CComposite.h"
#include "document/CControlHost.h"
#include "document/CIdSource.h"
#include "document/CItem.h"
#include "document/CItemFactory.h"
#include "document/USettings.h"
#include "document/io/UProgress.h"
#include "document/io/XItemRecordWriter.h"
#include "document/io/XmlWriter.h"

#include <QDebug>

namespace {
// Item link values: below this they address items of the same control, above
// it items of the whole panel; the value itself links nothing.
constexpr quint32 PanelLinkBase = 32768;
} // namespace

CControl::CControl() : m_attributes(this) {}

CControl::~CControl()
{
    delete m_pTransform;
    if (m_pBlock && !m_pBlock->parent())
        delete m_pBlock;
    for (CItem *item : items())
        item->release();
}

CIdSource &CControl::idSource()
{
    CControl *top = this;
    while (top->m_pParent)
        top = top->m_pParent;
    if (!top->m_pIdSource)
        top->m_pIdSource.reset(new CIdSource());
    return *top->m_pIdSource;
}

std::unique_ptr<CIdSource> CControl::takeOwnIdSource()
{
    return std::move(m_pIdSource);
}

void CControl::assignNewId()
{
    m_id = idSource().next();
}

void CControl::setId(quint32 id)
{
    m_id = id;
    idSource().reserve(id);
}

void CControl::setBlock(HNode *block)
{
    m_pBlock = block;
}

void CControl::setTransform(TTransform *transform)
{
    if (transform == m_pTransform)
        return;
    delete m_pTransform;
    m_pTransform = transform;
}

QList<CItem *> CControl::items() const
{
    QList<CItem *> live;
    live.reserve(m_records.count());
    for (const CItemRecord &record : m_records) {
        if (CItem *item = record.live())
            live.append(item);
    }
    return live;
}

void CControl::appendItem(CItem *item)
{
    if (!item)
        return;
    CItemRecord record(item->typeName());
    record.setLive(item, item->itemObject());
    m_records.append(record);
}

bool CControl::hasItemOfType(const QString &typeName) const
{
    for (const CItemRecord &record : m_records) {
        if (record.type() == typeName)
            return true;
    }
    return false;
}

CItem *CControl::mainItem() const
{
    return findItem(m_type.toLower());
}

bool CControl::hasUnbuiltItems() const
{
    for (const CItemRecord &record : m_records) {
        if (!record.live() && !record.liveFailed())
            return true;
    }
    return false;
}

bool CControl::createItems(CItemFactory *factory)
{
    if (!factory)
        return false;
    bool built = false;
    for (CItemRecord &record : m_records) {
        if (record.live() || record.liveFailed())
            continue;
        UProgress::step();
        CItem *item = factory->createItem(this, record);
        if (item)
            record.setLive(item, item->itemObject());
        else
            record.setLiveFailed(true);
        built = true;
    }
    if (built && m_skinPending) {
        m_skinPending = false;
        updateSkin();
    }
    return built;
}

void CControl::storeItems()
{
    for (CItemRecord &record : m_records) {
        if (CItem *item = record.live())
            XItemRecordWriter::store(item, record);
    }
}

void CControl::rebind()
{
    const QList<CItem *> live = items();
    // Links between the items of this control.
    for (CItem *item : live) {
        if (item->itemId() != 0 && item->link() != 0 && item->link() < PanelLinkBase) {
            CItem *target = findItemById(item->link());
            if (target && target != item)
                item->setLinkedItem(target);
        }
    }
    // Links to items of other controls of the panel.
    if (m_pParent) {
        for (CItem *item : live) {
            if (item->itemId() > 0 && item->link() > PanelLinkBase) {
                CItem *target = m_pParent->itemById(item->link());
                if (target && target != item)
                    item->setLinkedItem(target);
            }
        }
        // A drop site holds the control whose id it stores.
        for (CItem *item : live) {
            if (item->itemId() == 0)
                continue;
            if (CControl *held = m_pParent->childById(item->itemId()))
                item->setChild(held);
        }
    }
    if (!m_pTransform && !m_attributes.transform().isEmpty()) {
        m_pTransform = TTransformFactory::create(m_attributes.transform());
        if (m_pTransform) {
            m_pTransform->setAttributes(&m_attributes);
            m_pTransform->setNode(m_pBlock);
            m_pTransform->configure();
        }
    }
    for (CItem *item : live) {
        item->setTransform(m_pTransform);
        item->setAttributes(&m_attributes);
    }
    if (m_pBlock) {
        for (CItem *item : live)
            item->setProtocol(m_pBlock->protocol());
    }
    poll();
    for (CItem *item : live)
        item->updateLink();
}

void CControl::releaseItems()
{
    if (m_pBlock)
        m_pBlock->setMarked(false);
    // The values stay with the control; only what shows them goes.
    storeItems();
    for (CItemRecord &record : m_records) {
        if (CItem *item = record.live())
            item->release();
        record.setLive(nullptr, nullptr);
        record.setLiveFailed(false);
    }
    m_itemUnderConstruction.reset();
}

bool CControl::write(XmlWriter *writer)
{
    if (!writer)
        return false;
    writer->writeStartElement(m_tag, m_name, m_type);
    if (m_pBlock) {
        writer->writeTextElement(QStringLiteral("block"), m_pBlock->label());
        writer->writeTextElement(QStringLiteral("connection"), m_pBlock->chassisLabel());
    }
    writer->writeTextElement(QStringLiteral("id"), quint32(m_id));
    writer->writeStartElement(QStringLiteral("Property"), QStringLiteral("widget"));
    storeItems();
    for (const CItemRecord &record : qAsConst(m_records))
        record.write(writer);
    writer->writeEndElement(QStringLiteral("Property"));
    writer->writeStartElement(QStringLiteral("Property"), QStringLiteral("attributes"));
    m_attributes.write(writer);
    writer->writeEndElement(QStringLiteral("Property"));
    writer->writeEndElement(m_tag);
    return true;
}

bool CControl::poll()
{
    if (m_pTransform && m_pBlock && m_pBlock->protocol()) {
        if (!m_pBlock->protocol()->requestValue(m_pTransform))
            return false;
    }
    if (m_pTransform) {
        for (CItem *item : items())
            item->inputValue();
    }
    return true;
}

QRectF CControl::bounds() const
{
    QRectF result;
    for (CItem *item : items())
        result = result.united(item->rootGeometry());
    return result;
}

void CControl::show(bool visible)
{
    // Items not built yet are built with those of the whole panel, which
    // they link to.
    if (visible && m_pParent && hasUnbuiltItems())
        m_pParent->ensureItems();
    for (CItem *item : items())
        item->setVisible(visible);
}

void CControl::rescale(double factor, double)
{
    for (CItem *item : items())
        item->scale(float(factor));
}

void CControl::moveBy(double dx, double dy)
{
    if (m_pDropSiteHost)
        return;
    for (CItem *item : items())
        item->moveBy(dx, dy);
}

bool CControl::fitWidth(const QString &groupType, double width)
{
    if (m_type != groupType)
        return false;
    const QRectF b = bounds();
    moveBy((width - b.width()) / 2.0 - b.x(), 0.0);
    return true;
}

void CControl::setTransformPhase(int phase)
{
    if (m_pTransform)
        m_pTransform->link(phase);
}

CItem *CControl::findItem(const QString &typeName) const
{
    for (CItem *item : items()) {
        if (item->isType(typeName))
            return item;
    }
    return nullptr;
}

CItem *CControl::findItemById(quint32 id) const
{
    for (CItem *item : items()) {
        if (item->itemId() == id)
            return item;
    }
    return nullptr;
}

bool CControl::contains(const CControl *node) const
{
    return node == this;
}

CControl *CControl::findById(quint32 id)
{
    return (id != 0 && id == m_id) ? this : nullptr;
}

void CControl::addChild(CControl *) {}

std::unique_ptr<CControl> CControl::removeChild(CControl *, bool)
{
    return nullptr;
}

void CControl::clear()
{
    releaseItems();
}

bool CControl::isNameFree(const QString &name, const CControl *) const
{
    return m_pParent ? m_pParent->isNameFree(name, this) : false;
}

CControl *CControl::current(const QString &) const
{
    return nullptr;
}

bool CControl::selectPath(QString &path)
{
    const QString name = pathName();
    if (name == path) {
        path.clear();
        show(true);
        return true;
    }
    const int slash = path.indexOf(QLatin1Char('\\'));
    if (slash >= 0 && path.left(slash) == name) {
        path = path.mid(slash + 1);
        show(true);
        // A control has no children to take the rest.
        return path.isEmpty();
    }
    return false;
}

bool CControl::makeCurrent(const QString &, const QString &)
{
    return false;
}

int CControl::transformCount() const
{
    return m_pTransform ? 1 : 0;
}

CControl *CControl::loadNodeControl(HRoot *, HNode *, QString, const QPointF &)
{
    return nullptr;
}

CControl *CControl::loadText(const QString &, HRoot *)
{
    return nullptr;
}

CControl *CControl::loadGraphic(const QString &, const QPointF &)
{
    return nullptr;
}

CControl *CControl::loadPanelLink(CComposite *, const QPointF &)
{
    return nullptr;
}

void CControl::addTreeRow(QStandardItem *, const std::function<void(QStandardItem *)> &) {}

QString CControl::summary() const
{
    for (CItem *item : items()) {
        if (!item->hasProperties())
            continue;
        if (!m_pBlock)
            return QString();
        if (m_pBlock->parent())
            return m_pBlock->parent()->label() + QStringLiteral(" : ") + m_pBlock->label();
        return m_pBlock->label();
    }
    return QString();
}

void CControl::setSelected(int state)
{
    m_selectionState = state;
    for (CItem *item : items())
        item->showSelection(state == 1);
    if (!m_pModel)
        return;
    const bool selected = state != 0;
    // Controls of template panels cannot be cut, copied or pasted.
    bool ccp = selected;
    if (m_pParent)
        ccp = selected && m_pParent->panelKindText() != QLatin1String("template");
    m_pModel->selectionChanged(selected, ccp);
}

bool CControl::collectSelected(QList<CControl *> &list)
{
    if (m_selectionState != 1)
        return false;
    list.append(this);
    return true;
}

QWidget *CControl::createPropertiesDialog(QWidget *parent)
{
    CItem *item = mainItem();
    return item ? item->createPropertiesDialog(parent) : nullptr;
}

void CControl::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    for (CItem *item : items())
        item->replacePathPrefix(oldPrefix, newPrefix);
}

void CControl::setParentItem(QObject *item)
{
    for (CItem *live : items())
        live->setRootParentItem(item);
}

void CControl::setEditMode(bool on)
{
    if (!m_attributes.enableEdit())
        return;
    for (CItem *item : items())
        item->loadSelector(on);
}

void CControl::updateSkin()
{
    // Items built later than now read values from before this skin.
    m_skinPending = hasUnbuiltItems();
    for (CItem *item : items())
        item->updateSkin();
}

void CControl::markHardware()
{
    if (!m_pBlock)
        return;
    HNode *chassis = m_pBlock->nearestWithFlags(HNode::Chassis);
    if (chassis)
        chassis->setFlag(HNode::ConnectionInUse, true);
}

QString CControl::path(const CControl *target) const
{
    return target == this ? m_name : QString();
}

void CControl::dump() const
{
    qDebug() << "CControl" << this << m_name << m_type;
    for (CItem *item : items())
        item->dump();
    qDebug() << "^^^^^^^^^^^^^^^^^^^^^^^";
}

void CControl::setModel(CControlHost *model)
{
    m_pModel = model;
}

void CControl::beginItem(const QString &typeName)
{
    m_itemUnderConstruction.emplace(typeName);
    // Items carry a dozen values or so.
    m_itemUnderConstruction->reserve(16);
}

void CControl::addItem(const QString &typeName)
{
    if (!m_itemUnderConstruction)
        return;
    m_itemUnderConstruction->setType(typeName);
    m_records.append(std::move(*m_itemUnderConstruction));
    m_itemUnderConstruction.reset();
}

void CControl::loadItemAttribute(const QString &itemType, const QString &name,
                                 const QString &text)
{
    if (!m_itemUnderConstruction) {
        m_itemUnderConstruction.emplace(itemType);
        // Items carry a dozen values or so.
        m_itemUnderConstruction->reserve(16);
    }
    const QString folder =
        CItemRecord::isImageReference(itemType, name) ? CItemRecord::imageFolder() : QString();
    m_itemUnderConstruction->append(name, text, folder);
}

void CControl::setAttributeValue(const QString &kind, const QString &key, const QString &text)
{
    m_attributes.setValue(kind, key, text);
}

void CControl::finishAttributes()
{
    m_attributes.finishLoading();
}

void CControl::setItemsGeometry(double x, double y, double width, double height)
{
    for (CItem *item : items())
        item->setGeometry(x, y, width, height);
}

void CControl::resizeTo(const QRectF &rect)
{
    const QRectF old = bounds();
    for (CItem *item : items())
        item->followResize(old, rect);
}

void CControl::reshape(double a, double b, double c, double d, double e, double f)
{
    for (CItem *item : items())
        item->reshape(a, b, c, d, e, f);
}

bool CControl::hasSlider() const
{
    for (CItem *item : items()) {
        if (item->isSlider())
            return true;
    }
    return false;
}

void CControl::enableDropSite(bool enable)
{
    if (!m_pDropSiteHost)
        return;
    if (CItem *site = m_pDropSiteHost->findItem(QStringLiteral("dropsite")))
        site->enableDrop(enable);
}

void CControl::defaultSize(QRectF &rect) const
{
    USettings settings;
    const QString text = settings.value(QStringLiteral("Layout/") + m_type).toString();
    const int x = text.indexOf(QLatin1Char('x'));
    if (x < 0)
        return;
    bool okWidth = false;
    bool okHeight = false;
    const double width = text.left(x).toDouble(&okWidth);
    const double height = text.mid(x + 1).toDouble(&okHeight);
    if (!okWidth || !okHeight)
        return;
    const double scale = m_pModel ? m_pModel->pixelScale() : 1.0;
    rect.setWidth(width * scale);
    rect.setHeight(height * scale);
}

void CControl::rememberSize() const
{
    const QRectF b = bounds();
    const double scale = m_pModel ? m_pModel->pixelScale() : 1.0;
    if (scale == 0.0)
        return;
    const QString text = XmlWriter::formatFloat(b.width() / scale) + QLatin1Char('x') +
                         XmlWriter::formatFloat(b.height() / scale);
    USettings settings;
    settings.setValue(QStringLiteral("Layout/") + m_type, text);
}

QString CControl::blockLabel() const
{
    return m_pBlock ? m_pBlock->label() : QString();
}

QString CControl::pathName() const
{
    return m_pParent ? m_name : QStringLiteral("..");
}

QString CControl::toolTip() const
{
    if (!m_pBlock)
        return QString();
    if (m_pBlock->parent())
        return m_pBlock->parent()->label() + QStringLiteral(" : ") + m_pBlock->label();
    return m_pBlock->label();
}
