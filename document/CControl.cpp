#include "document/CControl.h"

#include "app/MModel.h"
#include "document/USettings.h"
#include "controls/WDelegate.h"
#include "controls/WWidget.h"
#include "controls/WWidgetFactory.h"
#include "design/HNode.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "device/TTransformFactory.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QDebug>

namespace {
// Item link values: below this they address items of the same control, above
// it items of the whole panel; the value itself links nothing.
constexpr quint32 PanelLinkBase = 32768;
} // namespace

CControl::CControl() : m_id(nextId()), m_attributes(this) {}

CControl::~CControl()
{
    delete m_pTransform;
    if (m_pBlock && !m_pBlock->parent())
        delete m_pBlock;
    for (WWidget *item : items()) {
        if (item && item->root())
            item->root()->deleteLater();
    }
    m_items.clear();
}

quint32 CControl::nextId()
{
    return WDelegate::instance()->nextId();
}

void CControl::setId(quint32 id)
{
    m_id = id;
    WDelegate::instance()->reserveId(id);
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

QList<WWidget *> CControl::items() const
{
    QList<WWidget *> live;
    live.reserve(m_items.count());
    for (const QPointer<WWidget> &item : m_items) {
        if (item)
            live.append(item.data());
    }
    return live;
}

void CControl::appendItem(WWidget *item)
{
    if (item)
        m_items.append(item);
}

WWidget *CControl::mainItem() const
{
    return findItem(m_type.toLower());
}

void CControl::rebind()
{
    // Links between the items of this control.
    for (WWidget *item : items()) {
        if (item->itemId() != 0 && item->link() != 0 && item->link() < PanelLinkBase) {
            WWidget *target = findItemById(item->link());
            if (target && target != item)
                item->setLinkedItem(target);
        }
    }
    // Links to items of other controls of the panel.
    if (m_pParent) {
        for (WWidget *item : items()) {
            if (item->itemId() > 0 && item->link() > PanelLinkBase) {
                WWidget *target = m_pParent->itemById(item->link());
                if (target && target != item)
                    item->setLinkedItem(target);
            }
        }
        // A drop site holds the control whose id it stores.
        for (WWidget *item : items()) {
            if (item->itemId() == 0)
                continue;
            CControl *held = m_pParent->childById(item->itemId());
            if (held)
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
    for (WWidget *item : items()) {
        item->setTransform(m_pTransform);
        item->setAttributes(&m_attributes);
    }
    if (m_pBlock) {
        for (WWidget *item : items())
            item->setProtocol(m_pBlock->protocol());
    }
    poll();
    for (WWidget *item : items())
        item->updateLink();
}

void CControl::releaseItems()
{
    if (m_pBlock)
        m_pBlock->setMarked(false);
    for (WWidget *item : items()) {
        if (item && item->root())
            item->root()->deleteLater();
    }
    m_items.clear();
    m_pItemUnderConstruction = nullptr;
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
    for (WWidget *item : items())
        item->writeXml(writer);
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
        for (WWidget *item : items())
            item->inputValue();
    }
    return true;
}

QRectF CControl::bounds() const
{
    QRectF result;
    for (WWidget *item : items())
        result = result.united(item->rootGeometry());
    return result;
}

void CControl::show(bool visible)
{
    for (WWidget *item : items())
        item->setVisible(visible);
}

void CControl::rescale(double factor, double)
{
    for (WWidget *item : items())
        item->scale(float(factor));
}

void CControl::moveBy(double dx, double dy)
{
    if (m_pDropSiteHost)
        return;
    for (WWidget *item : items())
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

WWidget *CControl::findItem(const QString &typeName) const
{
    for (WWidget *item : items()) {
        if (item->isType(typeName))
            return item;
    }
    return nullptr;
}

WWidget *CControl::findItemById(quint32 id) const
{
    for (WWidget *item : items()) {
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

void CControl::removeChild(CControl *, bool) {}

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

void CControl::addTreeRow(QStandardItem *, QTreeView *) {}

QString CControl::summary() const
{
    for (WWidget *item : items()) {
        if (!item->hasProperties())
            continue;
        HNode *block = item->ownerObject();
        if (!block)
            return QString();
        if (block->parent())
            return block->parent()->label() + QStringLiteral(" : ") + block->label();
        return block->label();
    }
    return QString();
}

void CControl::setSelected(int state)
{
    m_selectionState = state;
    for (WWidget *item : items())
        item->showSelection(state == 1);
    if (!m_pModel)
        return;
    const bool selected = state != 0;
    emit m_pModel->selectState(selected);
    // Controls of template panels cannot be cut, copied or pasted.
    bool ccp = selected;
    if (m_pParent)
        ccp = selected && m_pParent->panelKindText() != QLatin1String("template");
    emit m_pModel->ccpState(ccp);
}

bool CControl::collectSelected(CComposite *list)
{
    if (m_selectionState != 1 || !list)
        return false;
    list->addChild(this);
    return true;
}

QWidget *CControl::createPropertiesDialog(QWidget *parent)
{
    WWidget *item = mainItem();
    return item ? item->createPropertiesDialog(parent) : nullptr;
}

void CControl::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    for (WWidget *item : items())
        item->replacePathPrefix(oldPrefix, newPrefix);
}

void CControl::setParentItem(QQuickItem *item)
{
    for (WWidget *widget : items())
        widget->setRootParentItem(item);
}

void CControl::setEditMode(bool on)
{
    if (!m_attributes.enableEdit())
        return;
    for (WWidget *item : items())
        item->loadSelector(on);
}

void CControl::updateSkin()
{
    for (WWidget *item : items())
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
    for (WWidget *item : items())
        item->dump();
    qDebug() << "^^^^^^^^^^^^^^^^^^^^^^^";
}

void CControl::setModel(MModel *model)
{
    m_pModel = model;
}

void CControl::addItem(const QString &typeName)
{
    if (!m_pItemUnderConstruction)
        return;
    m_pItemUnderConstruction->setTypeName(typeName);
    m_items.append(m_pItemUnderConstruction);
    m_pItemUnderConstruction = nullptr;
}

void CControl::loadItemAttribute(const QString &itemType, const QString &name,
                                 const QString &text)
{
    if (!m_pItemUnderConstruction) {
        WWidgetFactory *factory = WDelegate::instance()->factory();
        WWidget *item = factory ? factory->loadWidget(itemType) : nullptr;
        if (!item)
            return;
        item->setOwnerObject(m_pBlock);
        item->setControl(this);
        item->setCanvas(factory->parentItem());
        m_pItemUnderConstruction = item;
    }
    m_pItemUnderConstruction->loadAttribute(name, text);
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
    for (WWidget *item : items())
        item->setGeometry(x, y, width, height);
}

void CControl::resizeTo(const QRectF &rect)
{
    const QRectF old = bounds();
    for (WWidget *item : items())
        item->followResize(old, rect);
}

void CControl::reshape(double a, double b, double c, double d, double e, double f)
{
    for (WWidget *item : items())
        item->reshape(a, b, c, d, e, f);
}

bool CControl::hasSlider() const
{
    for (WWidget *item : items()) {
        if (item->isSlider())
            return true;
    }
    return false;
}

void CControl::enableDropSite(bool enable)
{
    if (!m_pDropSiteHost)
        return;
    WWidget *site = m_pDropSiteHost->findItem(QStringLiteral("dropsite"));
    if (site)
        site->setRootProperty("enableDrop", enable);
}

void CControl::defaultSize(QRectF &rect) const
{
    USettings settings;
    const QString text =
        settings.value(QStringLiteral("Layout/") + m_type).toString();
    const int x = text.indexOf(QLatin1Char('x'));
    if (x < 0)
        return;
    bool okWidth = false;
    bool okHeight = false;
    const double width = text.left(x).toDouble(&okWidth);
    const double height = text.mid(x + 1).toDouble(&okHeight);
    if (!okWidth || !okHeight)
        return;
    const double scale = m_pModel ? m_pModel->viewScale() : 1.0;
    rect.setWidth(width * scale);
    rect.setHeight(height * scale);
}

void CControl::rememberSize() const
{
    const QRectF b = bounds();
    const double scale = m_pModel ? m_pModel->viewScale() : 1.0;
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
