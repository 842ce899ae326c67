#include "document/CComposite.h"

#include "design/HNode.h"
#include "design/HTreeRow.h"
#include "document/CCanvas.h"
#include "document/CControlHost.h"
#include "document/CIdSource.h"
#include "document/CItem.h"
#include "document/io/XControlHandler.h"
#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QSet>
#include <QStandardItem>
#include <QtMath>

#include <algorithm>

namespace {
const QString GroupControls = QStringLiteral("Controls");
const QString BoundsType = QStringLiteral("bounds");
const QString DropSiteType = QStringLiteral("dropsite");
} // namespace

CComposite::CComposite()
{
    m_type = QStringLiteral("Composite");
}

CComposite::~CComposite()
{
    clear();
}

void CComposite::assignKind(const QString &kind)
{
    if (kind == QLatin1String("Scene")) {
        m_tag = kind;
        m_type = QStringLiteral("Panels");
        m_name = QStringLiteral("Scene");
    } else if (kind == QLatin1String("Panel")) {
        m_tag = kind;
        m_type = GroupControls;
        m_name = QStringLiteral("Panel");
    } else {
        m_tag = kind;
    }
}

CControl *CComposite::childAt(int index) const
{
    if (index < 0 || index >= m_children.count())
        return nullptr;
    return m_children.at(index);
}

void CComposite::rebind()
{
    // Children that are composites answer for their own subtree, so only a
    // panel of plain controls gets the lookup indexes.
    const bool flat = std::none_of(m_children.cbegin(), m_children.cend(), [](CControl *child) {
        return dynamic_cast<CComposite *>(child) != nullptr;
    });
    QHash<quint32, CControl *> ids;
    QHash<quint32, CItem *> items;
    if (flat) {
        for (CControl *child : qAsConst(m_children)) {
            if (child->id() != 0 && !ids.contains(child->id()))
                ids.insert(child->id(), child);
            for (CItem *item : child->items()) {
                if (!items.contains(item->itemId()))
                    items.insert(item->itemId(), item);
            }
        }
        m_pIdIndex = &ids;
        m_pItemIndex = &items;
    }
    for (CControl *child : qAsConst(m_children))
        child->rebind();
    m_pIdIndex = nullptr;
    m_pItemIndex = nullptr;
}

CControl *CComposite::childById(quint32 id)
{
    if (m_pIdIndex)
        return id == 0 ? nullptr : m_pIdIndex->value(id);
    return findById(id);
}

CItem *CComposite::itemById(quint32 id) const
{
    if (m_pItemIndex)
        return m_pItemIndex->value(id);
    return findItemById(id);
}

void CComposite::releaseItems()
{
    for (CControl *child : qAsConst(m_children))
        child->releaseItems();
}

bool CComposite::write(XmlWriter *writer)
{
    if (!writer)
        return false;
    if (m_tag == QLatin1String("Panel"))
        writer->writeStartElement(m_tag, m_name, panelKindText());
    else if (!m_tag.isEmpty())
        writer->writeStartElement(m_tag, m_name);
    writer->writeStartElement(m_type);
    for (CControl *child : qAsConst(m_children)) {
        if (!child->write(writer))
            return false;
    }
    writer->writeEndElement(m_type);
    if (!m_tag.isEmpty())
        writer->writeEndElement(m_tag);
    return true;
}

bool CComposite::poll()
{
    // A device that is offline or silent must not keep the others' controls
    // from being refreshed: after its first failed request it is asked
    // nothing more this round (one reply wait at most), and the round goes
    // on with the controls of the other devices.
    QSet<const PProtocol *> failed;
    bool all = true;
    for (CControl *child : qAsConst(m_children)) {
        const PProtocol *protocol =
            child->transform() && child->block() ? child->block()->protocol() : nullptr;
        if (protocol && failed.contains(protocol)) {
            all = false;
            continue;
        }
        if (!child->poll()) {
            all = false;
            if (protocol)
                failed.insert(protocol);
        }
    }
    return all;
}

QRectF CComposite::bounds() const
{
    for (CControl *child : m_children) {
        if (CItem *item = child->findItem(BoundsType))
            return item->rootGeometry();
    }
    QRectF result;
    for (CControl *child : m_children)
        result = result.united(child->bounds());
    return result;
}

void CComposite::show(bool visible)
{
    if (visible)
        ensureItems();
    for (CControl *child : qAsConst(m_children))
        child->show(visible);
}

void CComposite::ensureItems()
{
    CItemFactory *factory = m_pModel ? m_pModel->itemFactory() : nullptr;
    if (!factory)
        return;
    bool built = false;
    for (CControl *child : qAsConst(m_children)) {
        if (auto *composite = dynamic_cast<CComposite *>(child))
            composite->ensureItems();
        else if (child->hasUnbuiltItems())
            built = child->createItems(factory) || built;
    }
    if (!built)
        return;
    rebind();
    m_pModel->itemsBuilt(this);
}

void CComposite::rescale(double factor, double height)
{
    if (m_tag == QLatin1String("Panel")) {
        const double ownHeight = bounds().height();
        // An empty or flat panel has no size to fit; scaling by height / 0
        // would send infinities into every item.
        if (!(ownHeight > 0.0))
            return;
        const double panelFactor = height / ownHeight;
        if (!qIsFinite(panelFactor) || panelFactor <= 0.0)
            return;
        for (CControl *child : qAsConst(m_children))
            child->rescale(panelFactor, height);
        return;
    }
    if (!qIsFinite(factor))
        return;
    for (CControl *child : qAsConst(m_children))
        child->rescale(factor, height);
}

void CComposite::moveBy(double dx, double dy)
{
    for (CControl *child : qAsConst(m_children))
        child->moveBy(dx, dy);
}

bool CComposite::fitWidth(const QString &groupType, double width)
{
    if (m_tag == QLatin1String("Panel") && m_panelKind == Custom) {
        placeHorizontally(width);
        return true;
    }
    if (CControl::fitWidth(groupType, width))
        return true;
    bool any = false;
    for (CControl *child : qAsConst(m_children))
        any = child->fitWidth(groupType, width) || any;
    return any;
}

void CComposite::placeHorizontally(double width)
{
    const CCanvas *canvas = m_pModel ? m_pModel->canvas() : nullptr;
    if (!canvas)
        return;
    if (canvas->horizcenter()) {
        QRectF content;
        for (CControl *child : qAsConst(m_children)) {
            if (!child->findItem(BoundsType))
                content = content.united(child->bounds());
        }
        if (content.width() > 0 && content.height() > 0)
            moveBy((width - (content.x() + content.width()) - content.x()) / 2.0, 0.0);
        return;
    }
    moveBy(-bounds().x(), 0.0);
}

void CComposite::setTransformPhase(int phase)
{
    for (CControl *child : qAsConst(m_children))
        child->setTransformPhase(phase);
}

CItem *CComposite::findItem(const QString &typeName) const
{
    for (CControl *child : m_children) {
        if (CItem *item = child->findItem(typeName))
            return item;
    }
    return nullptr;
}

CItem *CComposite::findItemById(quint32 id) const
{
    for (CControl *child : m_children) {
        if (CItem *item = child->findItemById(id))
            return item;
    }
    return nullptr;
}

bool CComposite::contains(const CControl *node) const
{
    return m_children.contains(const_cast<CControl *>(node));
}

CControl *CComposite::findById(quint32 id)
{
    for (CControl *child : qAsConst(m_children)) {
        if (CControl *found = child->findById(id))
            return found;
    }
    return nullptr;
}

void CComposite::addChild(CControl *child)
{
    if (!child)
        return;
    // A subtree read on its own handed out ids from a counter of its own.
    if (std::unique_ptr<CIdSource> own = child->takeOwnIdSource())
        idSource().reserve(own->current());
    child->setParent(this);
    // A control joins with the next id of the document unless it has one.
    if (child->id() == 0)
        child->assignNewId();
    m_children.append(child);
    if (child->dropSiteHost()) {
        if (CItem *site = child->dropSiteHost()->findItem(DropSiteType))
            site->enableDrop(false);
    }
}

std::unique_ptr<CControl> CComposite::removeChild(CControl *child, bool destroy)
{
    const int index = m_children.indexOf(child);
    if (index < 0)
        return nullptr;
    m_children.removeAt(index);
    m_currentIndex = 0;
    if (child->dropSiteHost()) {
        if (CItem *site = child->dropSiteHost()->findItem(DropSiteType))
            site->enableDrop(true);
    }
    child->setParent(nullptr);
    std::unique_ptr<CControl> removed(child);
    if (destroy) {
        removed->releaseItems();
        removed.reset();
    }
    return removed;
}

void CComposite::clear()
{
    const QList<CControl *> children = m_children;
    m_children.clear();
    for (CControl *child : children) {
        child->clear();
        delete child;
    }
}

bool CComposite::isNameFree(const QString &name, const CControl *except) const
{
    if (!except)
        return CControl::isNameFree(name, this);
    for (CControl *child : m_children) {
        if (child != except && child->name() == name)
            return false;
    }
    return true;
}

CControl *CComposite::current(const QString &group) const
{
    CControl *child = childAt(m_currentIndex);
    if (m_type == group)
        return child;
    return child ? child->current(group) : nullptr;
}

bool CComposite::selectPath(QString &path)
{
    const QString name = pathName();
    if (name == path) {
        path.clear();
        show(true);
        return true;
    }
    const int slash = path.indexOf(QLatin1Char('\\'));
    if (slash < 0 || path.left(slash) != name)
        return false;
    path = path.mid(slash + 1);
    if (path.isEmpty()) {
        show(true);
        return true;
    }
    // Only the node the path ends at is shown: showing every level on the way
    // would put all panels of all collections on the canvas at once.
    for (int i = 0; i < m_children.count(); ++i) {
        QString rest = path;
        if (m_children.at(i)->selectPath(rest)) {
            m_currentIndex = i;
            path = rest;
            return true;
        }
    }
    return false;
}

bool CComposite::makeCurrent(const QString &group, const QString &name)
{
    if (m_type == group) {
        for (int i = 0; i < m_children.count(); ++i) {
            if (m_children.at(i)->name() == name) {
                m_currentIndex = i;
                return true;
            }
        }
        return false;
    }
    for (CControl *child : qAsConst(m_children)) {
        if (child->makeCurrent(group, name))
            return true;
    }
    return false;
}

int CComposite::transformCount() const
{
    int count = 0;
    for (CControl *child : m_children)
        count += child->transformCount();
    return count;
}

CControl *CComposite::loadNodeControl(HRoot *hardware, HNode *node, QString parameter,
                                      const QPointF &point)
{
    if (!hardware || !node || !node->confirmDrop(parameter))
        return nullptr;
    const QString templatePath = node->templatePath(parameter);
    node->clearText(parameter);
    const int before = m_children.count();
    CLoadContext context;
    context.hardware = hardware;
    context.block = node;
    context.nameFilter = parameter;
    loadFile(templatePath, context);
    // Nothing of that name in the template: no new control to place.
    if (m_children.count() == before)
        return nullptr;
    CControl *control = m_children.last();
    const QRectF b = control->bounds();
    control->moveBy(point.x() - b.x(), point.y() - b.y());
    control->setName(node->label());
    if (control->attributes().index1() == 0)
        control->attributes().setIndex1(node->index());
    return control;
}

CControl *CComposite::loadText(const QString &text, HRoot *hardware)
{
    const int before = m_children.count();
    CLoadContext context;
    context.hardware = hardware;
    loadString(text, context);
    if (m_children.count() == before + 1)
        return m_children.last();
    return nullptr;
}

CControl *CComposite::loadGraphic(const QString &label, const QPointF &point)
{
    static const char *const words[] = {"Label", "Image", "Frame", "Region"};
    QString word;
    for (const char *candidate : words) {
        if (label == QCoreApplication::translate("CComposite", candidate)) {
            word = QString::fromLatin1(candidate);
            break;
        }
    }
    if (word.isEmpty())
        return nullptr;
    const int before = m_children.count();
    loadFile(QStringLiteral(":/data/Graphics/") + word + QStringLiteral(".xml"), CLoadContext());
    if (m_children.count() == before)
        return nullptr;
    CControl *control = m_children.last();
    const QRectF b = control->bounds();
    control->moveBy(point.x() - b.x(), point.y() - b.y());
    return control;
}

CControl *CComposite::loadPanelLink(CComposite *target, const QPointF &point)
{
    const int before = m_children.count();
    loadFile(QStringLiteral(":/data/Zindral/Link.xml"), CLoadContext());
    if (m_children.count() == before)
        return nullptr;
    CControl *control = m_children.last();
    const QRectF b = control->bounds();
    control->moveBy(point.x() - b.x(), point.y() - b.y());
    if (CItem *link = control->findItem(QStringLiteral("panellink")))
        link->setPanel(target);
    return control;
}

void CComposite::addTreeRow(QStandardItem *parentRow,
                            const std::function<void(QStandardItem *)> &expand)
{
    if (!parentRow)
        return;
    const QString title = titleText();
    if (!title.isEmpty())
        m_name = title;
    auto *row = new QStandardItem(m_name);
    if (m_tag == QLatin1String("Scene")) {
        row->setIcon(QIcon(QStringLiteral(":/images/Collections.png")));
    } else if (m_tag == QLatin1String("Panel")) {
        if (m_panelKind == Complete)
            row->setIcon(QIcon(QStringLiteral(":/images/CompletePanel.png")));
        else if (m_panelKind == Template)
            row->setIcon(QIcon(QStringLiteral(":/images/TemplatePanel.png")));
        else if (m_panelKind == Custom)
            row->setIcon(QIcon(QStringLiteral(":/images/CustomPanel.png")));
    }
    // Panels are dragged onto the canvas as links to them.
    row->setFlags(m_type == GroupControls
                      ? HTreeRow::withDragKind(HTreeRow::DraggableFlags, HTreeRow::DragLink)
                      : HTreeRow::GroupFlags);
    row->setData(QVariant::fromValue<quint64>(quint64(reinterpret_cast<quintptr>(this))),
                 HTreeRow::IdentityRole);
    parentRow->appendRow(row);
    m_treeRow = QPersistentModelIndex(row->index());
    for (CControl *child : qAsConst(m_children))
        child->addTreeRow(row, expand);
    if (expand && m_expanded)
        expand(row);
}

QString CComposite::summary() const
{
    if (m_children.count() != 1)
        return QString();
    const CControl *child = m_children.first();
    const QString childSummary = child->summary();
    if (childSummary.isEmpty())
        return child->type();
    return child->type() + QStringLiteral(" : ") + childSummary;
}

void CComposite::setSelected(int state)
{
    for (CControl *child : qAsConst(m_children))
        child->setSelected(state);
}

bool CComposite::collectSelected(QList<CControl *> &list)
{
    bool any = false;
    for (CControl *child : qAsConst(m_children))
        any = child->collectSelected(list) || any;
    return any;
}

QWidget *CComposite::createPropertiesDialog(QWidget *parent)
{
    if (m_children.count() != 1)
        return nullptr;
    return m_children.first()->createPropertiesDialog(parent);
}

void CComposite::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    for (CControl *child : qAsConst(m_children))
        child->replacePathPrefix(oldPrefix, newPrefix);
}

void CComposite::setParentItem(QObject *item)
{
    for (CControl *child : qAsConst(m_children))
        child->setParentItem(item);
}

void CComposite::setEditMode(bool on)
{
    for (CControl *child : qAsConst(m_children))
        child->setEditMode(on);
}

void CComposite::updateSkin()
{
    for (CControl *child : qAsConst(m_children))
        child->updateSkin();
}

void CComposite::markHardware()
{
    for (CControl *child : qAsConst(m_children))
        child->markHardware();
}

QString CComposite::path(const CControl *target) const
{
    if (target == this)
        return m_name;
    for (CControl *child : m_children) {
        const QString rest = child->path(target);
        if (!rest.isEmpty())
            return pathName() + QLatin1Char('\\') + rest;
    }
    return QString();
}

void CComposite::dump() const
{
    qDebug() << "-----------------------" << panelKindText();
    CControl::dump();
    for (CControl *child : m_children)
        child->dump();
}

void CComposite::setModel(CControlHost *model)
{
    m_pModel = model;
    for (CControl *child : qAsConst(m_children))
        child->setModel(model);
}

bool CComposite::createItems(CItemFactory *factory)
{
    bool built = false;
    for (CControl *child : qAsConst(m_children))
        built = child->createItems(factory) || built;
    return built;
}

void CComposite::storeItems()
{
    for (CControl *child : qAsConst(m_children))
        child->storeItems();
}

bool CComposite::swapChild(CControl *child, int offset)
{
    const int index = m_children.indexOf(child);
    const int target = index + offset;
    if (index < 0 || target < 0 || target >= m_children.count())
        return false;
    m_children.swapItemsAt(index, target);
    m_currentIndex = target;
    return true;
}

void CComposite::reorderChildren(const QList<QPair<CControl *, int>> &moves)
{
    for (const auto &move : moves) {
        const int index = m_children.indexOf(move.first);
        if (index < 0)
            continue;
        m_children.removeAt(index);
        const int target = qBound(0, move.second, m_children.count());
        m_children.insert(target, move.first);
    }
}

QList<QRectF> CComposite::childBounds() const
{
    QList<QRectF> result;
    result.reserve(m_children.count());
    for (CControl *child : m_children)
        result.append(child->bounds());
    return result;
}

QString CComposite::panelKindText(int kind)
{
    switch (kind) {
    case Complete:
        return QStringLiteral("complete");
    case Template:
        return QStringLiteral("template");
    case Custom:
        return QStringLiteral("custom");
    default:
        return QString();
    }
}

QString CComposite::panelKindText() const
{
    return panelKindText(m_panelKind);
}

QString CComposite::titleText() const
{
    for (CControl *child : m_children) {
        if (child->name() != QLatin1String("Title") || child->type() != QLatin1String("Label"))
            continue;
        if (CItem *label = child->findItem(QStringLiteral("label")))
            return label->rootText();
        // Without a live label, the text the file gave it.
        for (const CItemRecord &record : child->itemRecords()) {
            if (record.type() == QLatin1String("label"))
                return record.value(QStringLiteral("text"));
        }
    }
    return QString();
}

void CComposite::setPanelKind(const QString &typeWord)
{
    if (m_type != GroupControls)
        return;
    if (typeWord == QLatin1String("complete")) {
        m_panelKind = Complete;
    } else if (typeWord == QLatin1String("template")) {
        m_panelKind = Template;
    } else if (typeWord == QLatin1String("custom")) {
        m_panelKind = Custom;
    } else if (typeWord.isEmpty()) {
        const bool hasDropSite =
            std::any_of(m_children.cbegin(), m_children.cend(),
                        [](CControl *child) { return child->hasItemOfType(DropSiteType); });
        if (hasDropSite)
            m_panelKind = Template;
        else if (m_children.count() == 1)
            m_panelKind = Custom;
        else
            m_panelKind = Complete;
    }
}

bool CComposite::loadFile(const QString &path, const CLoadContext &context, QString *errorText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return loadDevice(&file, context, errorText);
}

bool CComposite::loadDevice(QIODevice *device, const CLoadContext &context, QString *errorText)
{
    const int firstNew = m_children.count();
    XControlHandler handler(this, context);
    const bool ok = handler.parse(device);
    if (ok)
        finishLoad(firstNew, context.deferItems);
    else if (errorText)
        *errorText = handler.errorText();
    setModel(m_pModel);
    return ok;
}

bool CComposite::loadString(const QString &text, const CLoadContext &context, QString *errorText)
{
    const int firstNew = m_children.count();
    XControlHandler handler(this, context);
    const bool ok = handler.parseText(text);
    if (ok)
        finishLoad(firstNew, context.deferItems);
    else if (errorText)
        *errorText = handler.errorText();
    setModel(m_pModel);
    return ok;
}

void CComposite::finishLoad(int firstNewChild, bool deferItems)
{
    // Only what this read added gets live items; the rest has them already.
    CItemFactory *factory = m_pModel && !deferItems ? m_pModel->itemFactory() : nullptr;
    if (factory) {
        for (int i = firstNewChild; i < m_children.count(); ++i) {
            m_children.at(i)->setModel(m_pModel);
            m_children.at(i)->createItems(factory);
        }
    }
    rebind();
    setTransformPhase(0);
    setTransformPhase(1);
}
