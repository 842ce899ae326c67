#include "design/HNode.h"

#include "design/CParameter.h"
#include "design/HTemplateCache.h"
#include "design/HTreeRows.h"

#include <QCoreApplication>
#include <QDebug>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QXmlStreamAttributes>

namespace {

int decimalOrZero(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

HNode::HNode() = default;

HNode::~HNode()
{
    deleteParameters();
}

QString HNode::tr(const char *text)
{
    return QCoreApplication::translate("HNode", text);
}

HNode *HNode::nodeOfRow(const QStandardItem *row)
{
    if (!row)
        return nullptr;
    const QVariant value = row->data(HTreeRow::IdentityRole);
    if (!value.isValid())
        return nullptr;
    return reinterpret_cast<HNode *>(quintptr(value.value<quint64>()));
}

void HNode::readProperty(const QString &name, const QString &value)
{
    if (name == QLatin1String("title"))
        m_title = value;
    else if (name == QLatin1String("label"))
        m_label = value;
    else if (name == QLatin1String("module"))
        m_module = decimalOrZero(value);
    else if (name == QLatin1String("channel"))
        m_channel = decimalOrZero(value);
    else if (name == QLatin1String("index"))
        m_index = decimalOrZero(value);
    else if (name == QLatin1String("nodeID"))
        m_nodeID = decimalOrZero(value);
}

void HNode::readAssignment(const QXmlStreamAttributes &) {}

void HNode::setConnectionValue(const QString &, const QString &) {}

void HNode::endConnectionValue(const QString &) {}

bool HNode::validate()
{
    if (m_pParent)
        m_pProtocol = m_pParent->protocol();
    return true;
}

bool HNode::writeConnection(XmlWriter *, QStringList &)
{
    return true;
}

HNode *HNode::findByCategoryProperty(const QString &category, const QString &key,
                                     const QString &value)
{
    if (this->category() == category && property(key) == value)
        return this;
    return nullptr;
}

HNode *HNode::findByProperty(const QString &key, const QString &value)
{
    return property(key) == value ? this : nullptr;
}

HNode *HNode::findByNodeId(int nodeID)
{
    return m_nodeID == nodeID ? this : nullptr;
}

HNode *HNode::findByCategory(const QString &category)
{
    return this->category() == category ? this : nullptr;
}

bool HNode::removeChild(HNode *)
{
    return false;
}

bool HNode::pruneUnreferenced()
{
    // Only a node that sits in a tree can leave it; its parent deletes it.
    return m_pParent && !hasFlag(InUse) && hasFlag(NotReferenced);
}

void HNode::clearMarks()
{
    setFlag(InUse, false);
}

bool HNode::removeWhereMarked(bool marked)
{
    return m_pParent && isMarked() == marked;
}

void HNode::setMarked(bool on)
{
    if (m_pParent)
        setFlag(InUse, on);
}

bool HNode::isMarked() const
{
    return hasFlag(InUse);
}

void HNode::collectByCategory(const QString &category, QList<HNode *> &list)
{
    if (this->category() == category)
        list.append(this);
}

void HNode::sortByOrder(QList<HNode *> &) {}

void HNode::connectStatus(QObject *) {}

void HNode::clearConnectionUse()
{
    setFlag(ConnectionInUse, false);
}

bool HNode::purgeUnshown()
{
    return m_pParent && !hasFlag(Shown);
}

void HNode::dump() const
{
    qDebug().noquote() << "HNode" << category() << "label:" << m_label << "title:" << m_title
                       << "typenum:" << m_typenum << "id:" << m_id << "flags:" << m_flags
                       << "module:" << m_module << "channel:" << m_channel << "index:" << m_index
                       << "nodeID:" << m_nodeID << "parameters:" << m_parameters.count();
}

void HNode::populate(QStandardItemModel *model)
{
    if (!model)
        return;
    HTreeRows rows(model);
    addRows(rows);
}

void HNode::addRows(HTreeRows &rows)
{
    deleteParameters();
    const int result = loadParameters();
    if (result == 0) {
        setFlag(Shown, false);
        return;
    }
    setFlag(Shown, true);
    QStandardItem *parentRow = findTreeItem(rows);
    if (!parentRow)
        return;
    if (result == 1) {
        rows.appendRow(parentRow, m_label, draggable(HTreeRow::DragPanel),
                       QStringLiteral(":/images/CompletePanel.png"), this);
        return;
    }
    QStandardItem *nodeRow = rows.appendRow(parentRow, m_label, m_itemFlags, QString(), this);
    for (CParameter *parameter : qAsConst(m_parameters))
        parameter->setItem(rows.appendRow(nodeRow, parameter->text(),
                                          draggable(HTreeRow::DragControl), parameter->iconPath(),
                                          this));
}

void HNode::clearText(QString &) {}

bool HNode::confirmDrop(const QString &)
{
    return true;
}

void HNode::addChild(HNode *) {}

HNode *HNode::childAt(int) const
{
    return nullptr;
}

void HNode::setProtocol(PProtocol *protocol)
{
    m_pProtocol = protocol;
}

HNode *HNode::chooseParent(HNode *, HNode *current)
{
    return current;
}

QString HNode::channelLabel(int) const
{
    return QString();
}

QString HNode::templatePath(const QString &)
{
    return QStringLiteral(":/data/") + platformDirectory() + QLatin1Char('/') + m_title +
           QLatin1Char('_') + m_typenum + QStringLiteral(".xml");
}

QString HNode::platformDirectory() const
{
    return m_pParent ? m_pParent->platformDirectory() : QString();
}

QString HNode::category() const
{
    return QString();
}

QStandardItem *HNode::findTreeItem(const HTreeRows &rows) const
{
    // Every chassis has its own category rows, so the row must also point at
    // this node's own parent.
    return rows.findRow(category(), m_pParent);
}

QString HNode::property(const QString &key) const
{
    if (key == QLatin1String("category"))
        return category();
    if (key == QLatin1String("id"))
        return m_id;
    if (key == QLatin1String("label"))
        return m_label;
    if (key == QLatin1String("title"))
        return m_title;
    if (key == QLatin1String("typenum"))
        return m_typenum;
    return QString();
}

QString HNode::chassisLabel() const
{
    for (const HNode *node = this; node; node = node->parent()) {
        if (node->hasFlag(Chassis))
            return node->label();
    }
    return QStringLiteral("???");
}

HNode *HNode::nearestWithFlags(quint32 bits)
{
    for (HNode *node = this; node; node = node->parent()) {
        if (node->hasFlag(bits))
            return node;
    }
    return nullptr;
}

int HNode::loadParameters()
{
    const QString path = templatePath(QString());
    if (path.isEmpty())
        return 0;
    const HTemplateCache::Template read = HTemplateCache::parameters(path);
    if (!read.found)
        return 0;
    // A broken template gives the node no parameters at all rather than the
    // ones before the fault.
    if (!read.parsed)
        return 1;
    for (const HTemplateCache::Parameter &parameter : read.parameters)
        m_parameters.append(new CParameter(parameter.text, parameter.type));
    return m_parameters.isEmpty() ? 1 : 2;
}

void HNode::deleteParameters()
{
    qDeleteAll(m_parameters);
    m_parameters.clear();
}

void HNode::setFlag(quint32 bits, bool on)
{
    if (on)
        m_flags |= bits;
    else
        m_flags &= ~bits;
}
