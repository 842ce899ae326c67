#include "controls/WDropList.h"

#include "app/MModel.h"
#include "design/HGroup.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CDocument.h"
#include "document/io/XmlWriter.h"
#include "views/VModeManager.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace {
// Text.horizontalAlignment values of the QML root.
constexpr int AlignLeft = Qt::AlignLeft;
constexpr int AlignRight = Qt::AlignRight;
constexpr int AlignCenter = Qt::AlignHCenter;

int alignmentOf(const QString &word)
{
    const QString lower = word.toLower();
    if (lower == QLatin1String("center"))
        return AlignCenter;
    if (lower == QLatin1String("right"))
        return AlignRight;
    return AlignLeft;
}

QString alignmentWord(int alignment)
{
    if (alignment == AlignCenter)
        return QStringLiteral("Center");
    if (alignment == AlignRight)
        return QStringLiteral("Right");
    return QStringLiteral("Left");
}

QString joined(const QList<int> &values)
{
    QStringList parts;
    parts.reserve(values.size());
    for (int value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(','));
}
} // namespace

WDropList::WDropList(QQuickItem *parent) : WWidget(parent) {}

WDropList::~WDropList()
{
    closePopup();
}

void WDropList::setEntries(const QStringList &entries)
{
    m_items = entries;
    m_values.clear();
    for (int i = 0; i < entries.size(); ++i)
        m_values << i + 1;
}

void WDropList::readPendingFile()
{
    if (m_pendingFile.isEmpty())
        return;
    const QString name = m_pendingFile;
    m_pendingFile.clear();
    const CDocument *document = m_pModel ? m_pModel->document() : nullptr;
    const QString base = document ? document->basePath() : QString();
    QStringList lines;
    QFile file(base.isEmpty() ? name : QDir(base).filePath(name));
    // A relative name without a document folder would depend on where the
    // program was started.
    if ((!base.isEmpty() || !QDir::isRelativePath(name)) &&
        file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        stream.setCodec("UTF-8");
        while (!stream.atEnd())
            lines << stream.readLine();
    }
    const QList<int> given = m_values;
    setEntries(lines);
    if (m_indexAfterFile)
        m_values = given;
}

const QStringList &WDropList::items()
{
    readPendingFile();
    return m_items;
}

const QList<int> &WDropList::values()
{
    readPendingFile();
    return m_values;
}

void WDropList::readNode(const QString &name)
{
    m_items.clear();
    m_values.clear();
    HNode *owner = m_pOwnerObject;
    if (!owner)
        return;
    // A category name lists those nodes of the owner's processor (the
    // parameter sets); any other word lists the names the block carries.
    QList<HNode *> listed;
    if (HNode *scope = owner->parent())
        scope->collectByCategory(HNode::tr(name.toUtf8().constData()), listed);
    if (!listed.isEmpty()) {
        listed.erase(std::remove_if(listed.begin(), listed.end(),
                                    [](HNode *node) {
                                        return !node || node->label().isEmpty() ||
                                               node->hasFlag(HNode::NotReferenced);
                                    }),
                     listed.end());
        // Once the user picked and ordered some, only those are listed.
        if (std::any_of(listed.cbegin(), listed.cend(),
                        [](HNode *node) { return node->order() >= 0; })) {
            listed.erase(std::remove_if(listed.begin(), listed.end(),
                                        [](HNode *node) { return node->order() < 0; }),
                         listed.end());
            std::stable_sort(listed.begin(), listed.end(),
                             [](HNode *a, HNode *b) { return a->order() < b->order(); });
        }
        for (HNode *node : qAsConst(listed)) {
            m_items << node->label();
            m_values << node->index();
        }
        return;
    }
    const QStringList names = owner->names().split(QLatin1Char(','));
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).isEmpty())
            continue;
        m_items << names.at(i);
        m_values << i + 1;
    }
}

QStringList WDropList::groupNames() const
{
    const auto *group = dynamic_cast<const HGroup *>(m_pOwnerObject);
    return group ? group->selectorNames() : QStringList();
}

bool WDropList::loadAttribute(const QString &name, const QString &value)
{
    // A drop list has no caption of its own to take a title.
    if (name == QLatin1String("title"))
        return false;
    if (WWidget::loadAttribute(name, value))
        return true;
    if (!m_pRoot)
        return false;
    // Each source replaces what an earlier one gave.
    if (name == QLatin1String("msg") || name == QLatin1String("file") ||
        name == QLatin1String("node") || name == QLatin1String("group") ||
        name == QLatin1String("item")) {
        m_pendingFile.clear();
        m_indexAfterFile = false;
    }
    if (name == QLatin1String("msg")) {
        m_sourceKind = MessageSource;
        setEntries(value.split(QLatin1Char(',')));
    } else if (name == QLatin1String("file")) {
        m_sourceKind = FileSource;
        setEntries(QStringList());
        m_pendingFile = value;
    } else if (name == QLatin1String("node")) {
        m_sourceKind = NodeSource;
        readNode(value);
    } else if (name == QLatin1String("group")) {
        m_sourceKind = GroupSource;
        setEntries(groupNames());
        setRootProperty("model", m_items);
        setRootProperty("currentText", m_items.value(m_currentIndex));
    } else if (name == QLatin1String("item")) {
        setEntries(groupNames().join(QLatin1Char(',')).split(QLatin1Char(','), Qt::SkipEmptyParts));
    } else if (name == QLatin1String("index")) {
        m_values.clear();
        for (const QString &part : value.split(QLatin1Char(',')))
            m_values << part.trimmed().toInt();
        m_indexAfterFile = !m_pendingFile.isEmpty();
    } else if (name == QLatin1String("hasBorder")) {
        bool ok = false;
        const int border = value.toInt(&ok);
        if (ok)
            setRootProperty("hasBorder", border != 0);
    } else if (name == QLatin1String("align")) {
        setRootProperty("horizontalAlignment", alignmentOf(value));
    } else {
        return false;
    }
    return true;
}

bool WDropList::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    readPendingFile();
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("msg"), m_items.join(QLatin1Char(',')));
    writer->writeTextElement(QStringLiteral("index"), joined(m_values));
    writer->writeTextElement(QStringLiteral("hasBorder"),
                             qint32(rootProperty("hasBorder").toBool() ? 1 : 0));
    writer->writeTextElement(QStringLiteral("align"),
                             alignmentWord(rootProperty("horizontalAlignment").toInt()));
    writer->writeEndElement(m_typeName);
    return true;
}

void WDropList::inputValue()
{
    if (!m_pTransform)
        return;
    readPendingFile();
    const int value = m_pTransform->toInt();
    m_outputEnabled = false;
    m_currentIndex = m_values.indexOf(value);
    setRootProperty("currentIndex", m_currentIndex);
    setRootProperty("currentText", m_items.value(m_currentIndex));
    m_outputEnabled = true;
}

bool WDropList::hasProperties() const
{
    return true;
}

QWidget *WDropList::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WDropList::attribute(uint id) const
{
    if (id == 0x4100)
        return alignmentWord(rootProperty("horizontalAlignment").toInt());
    return WWidget::attribute(id);
}

void WDropList::setAttribute(uint id, const QVariant &value)
{
    if (id == 0x4100) {
        setRootProperty("horizontalAlignment", alignmentOf(value.toString()));
        return;
    }
    WWidget::setAttribute(id, value);
}

void WDropList::outputCurrentIndex(int index)
{
    readPendingFile();
    if (!m_pRoot || index == m_currentIndex || index < 0 || index >= m_values.size())
        return;
    m_currentIndex = index;
    if (m_pTransform && m_pProtocol && m_outputEnabled) {
        m_pTransform->fromByte(quint8(m_values.at(index)));
        m_pProtocol->sendValue(m_pTransform);
    }
}

void WDropList::popupList(QObject *pObject)
{
    // A second popup replaces the first rather than stacking on it.
    if (m_pPopup && m_pPopup != pObject)
        closePopup();
    m_pPopup = pObject;
    if (!pObject)
        return;
    readPendingFile();
    VModeManager *modes = VModeManager::instance();
    modes->setModalObject(pObject);
    auto *popupItem = qobject_cast<QQuickItem *>(pObject);
    auto *canvas = qobject_cast<QQuickItem *>(modes->canvas());
    if (popupItem && canvas)
        popupItem->setParentItem(canvas);
    connect(pObject, SIGNAL(listClick(int)), this, SLOT(listSelect(int)), Qt::UniqueConnection);
    pObject->setProperty("model", m_items);
    pObject->setProperty("index", m_currentIndex);
}

void WDropList::listSelect(int index)
{
    readPendingFile();
    // Entries past the list (a popup with a stale model) choose nothing.
    if (m_pRoot && index >= 0 && index < m_items.size()) {
        outputCurrentIndex(index);
        setRootProperty("currentText", m_items.at(index));
        setRootProperty("currentIndex", index);
    }
    closePopup();
}

void WDropList::closePopup()
{
    QObject *popup = m_pPopup;
    m_pPopup = nullptr;
    if (!popup)
        return;
    VModeManager *modes = VModeManager::instance();
    if (modes->modalObject() == popup)
        modes->setModalObject(nullptr);
    popup->disconnect(this);
    popup->deleteLater();
}
