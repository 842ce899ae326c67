#include "document/io/XControlHandler.h"

#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CItemRecord.h"
#include "document/MProject.h"
#include "document/io/UArchive.h"

QT_WARNING_DISABLE_DEPRECATED

namespace {
const QString ControlBlock = QStringLiteral("Control");
const QString ConnectionBlock = QStringLiteral("Connection");
const QString CanvasBlock = QStringLiteral("Canvas");
const QString ProjectBlock = QStringLiteral("Project");
const QString WidgetProperty = QStringLiteral("widget");
const QString AttributesProperty = QStringLiteral("attributes");
} // namespace

XControlHandler::XControlHandler(CComposite *target, const CLoadContext &context)
    : m_pTarget(target), m_pCollection(target), m_pPanel(target), m_context(context)
{
    setMaxTextLength(PanelTextLength);
}

XControlHandler::~XControlHandler() = default;

bool XControlHandler::startDocument()
{
    XmlHandler::startDocument();
    m_pCollection = m_pTarget;
    m_pPanel = m_pTarget;
    m_pControl = nullptr;
    m_pChassis = nullptr;
    m_property.clear();
    m_text.clear();
    return true;
}

bool XControlHandler::startElement(const QString &namespaceURI, const QString &localName,
                                   const QString &qName, const QXmlAttributes &attributes)
{
    flushText();
    if (!XmlHandler::startElement(namespaceURI, localName, qName, attributes))
        return false;
    m_valueHadText = false;
    if (!m_pTarget)
        return true;
    const QString parent = parentElement();

    // An item of a control starts its record here, so an item without
    // values is kept as well.
    if (m_collecting && m_pControl && m_property == WidgetProperty &&
        parent == QLatin1String("Property")) {
        m_pControl->beginItem(qName);
        return true;
    }
    if (qName == QLatin1String("Control")) {
        if (parent != QLatin1String("Controls"))
            return true;
        const QString name = attributes.value(QStringLiteral("name"));
        if (!m_context.nameFilter.isEmpty() && name != m_context.nameFilter)
            return true;
        m_collecting = true;
        m_block = ControlBlock;
        auto *control = new CControl();
        control->setModel(m_pTarget->model());
        control->setTag(ControlBlock);
        control->setName(name);
        control->setType(attributes.value(QStringLiteral("type")));
        if (m_context.block)
            control->setBlock(m_context.block);
        m_pPanel->addChild(control);
        m_pControl = control;
    } else if (qName == QLatin1String("Scene")) {
        if (parent != QLatin1String("Scenes"))
            return true;
        m_pTarget->setType(QStringLiteral("Scenes"));
        auto *collection = new CComposite();
        collection->assignKind(QStringLiteral("Scene"));
        collection->setName(attributes.value(QStringLiteral("name")));
        m_pTarget->addChild(collection);
        m_pCollection = collection;
    } else if (qName == QLatin1String("Panel")) {
        if (parent != QLatin1String("Panels"))
            return true;
        auto *panel = new CComposite();
        panel->assignKind(QStringLiteral("Panel"));
        panel->setName(attributes.value(QStringLiteral("name")));
        // An empty type word is derived from the content once it is read.
        m_panelTypeWord = attributes.value(QStringLiteral("type"));
        if (!m_panelTypeWord.isEmpty())
            panel->setPanelKind(m_panelTypeWord);
        m_pCollection->addChild(panel);
        m_pPanel = panel;
    } else if (qName == QLatin1String("Connection")) {
        if (parent != QLatin1String("Connections") || !m_context.hardware)
            return true;
        m_collecting = true;
        m_block = ConnectionBlock;
        const QString label = attributes.value(QStringLiteral("name"));
        HNode *chassis = findChassis(label);
        if (!chassis) {
            chassis = new HChassis();
            m_context.hardware->addChild(chassis);
            chassis->setLabel(label);
        }
        m_pChassis = chassis;
    } else if (qName == ProjectBlock) {
        m_collecting = true;
        m_block = ProjectBlock;
    } else if (qName == CanvasBlock) {
        m_collecting = true;
        m_block = CanvasBlock;
        if (m_context.canvas)
            m_context.canvas->resetForReading();
    } else if (qName == QLatin1String("Property")) {
        if (m_collecting)
            m_property = attributes.value(QStringLiteral("name"));
    }
    return true;
}

bool XControlHandler::characters(const QString &text)
{
    if (!m_collecting)
        return true;
    if (!checkLength(m_text.size() + text.size()))
        return false;
    if (m_text.isEmpty()) {
        // White space that starts a text is trimmed anyway; between elements
        // it is all there is.
        const QChar *characters = text.constData();
        const QChar *end = characters + text.size();
        while (characters != end && characters->isSpace())
            ++characters;
        if (characters == end)
            return true;
        // Most values arrive in one piece: sharing it costs no copy.
        m_text = text;
    } else {
        m_text += text;
    }
    return true;
}

QString XControlHandler::simplified(const QString &text)
{
    // Values as written need no change: checking is cheaper than the copy
    // simplified() always makes.
    const int count = text.size();
    const QChar *characters = text.constData();
    bool simple = count > 0 && !characters[0].isSpace() && !characters[count - 1].isSpace();
    for (int i = 0; simple && i < count; ++i) {
        const QChar c = characters[i];
        if (c.isSpace() && (c != QLatin1Char(' ') || characters[i + 1].isSpace()))
            simple = false;
    }
    return simple ? text : text.simplified();
}

void XControlHandler::flushText()
{
    if (m_text.isEmpty())
        return;
    // An item value written on one line is taken as written (a polygon's
    // points each end in a blank, so a converted file keeps them); text laid
    // out over lines, and every other value, is simplified.
    const bool laidOut = m_text.contains(QLatin1Char('\n')) || m_text.contains(QLatin1Char('\r')) ||
                         m_text.contains(QLatin1Char('\t'));
    const QString text = m_property == WidgetProperty && !laidOut && !m_text.trimmed().isEmpty()
                             ? m_text
                             : simplified(m_text);
    m_text.clear();
    if (!text.isEmpty() && m_collecting)
        handleText(text);
}

void XControlHandler::handleText(const QString &text)
{
    const QString &element = currentElement();
    const QString &enclosing = parentElement();
    if (m_property == WidgetProperty) {
        if (!m_pControl)
            return;
        m_valueHadText = true;
        // Pictures travel in the archive: the path read is that of its copy.
        QString value = text;
        if (m_context.archive && CItemRecord::isImageReference(enclosing, element))
            m_context.archive->redirectImagePath(value);
        m_pControl->loadItemAttribute(enclosing, element, value);
        return;
    }
    if (m_property == AttributesProperty) {
        if (m_block == ControlBlock) {
            if (m_pControl)
                m_pControl->setAttributeValue(enclosing, element, text);
        } else if (m_block == ConnectionBlock) {
            if (m_pChassis)
                m_pChassis->setConnectionValue(element, text);
        } else if (m_block == CanvasBlock) {
            if (m_context.canvas)
                m_context.canvas->setValue(element, text);
        } else if (m_block == ProjectBlock) {
            if (m_context.project)
                m_context.project->setValue(enclosing, element, text);
        }
        return;
    }
    if (element == QLatin1String("block")) {
        m_blockLabel = text;
    } else if (element == QLatin1String("id")) {
        bool ok = false;
        const uint id = text.toUInt(&ok);
        if (m_pControl && ok)
            m_pControl->setId(id);
    } else if (element == QLatin1String("connection")) {
        bindConnection(text);
    }
}

HNode *XControlHandler::findChassis(const QString &label) const
{
    if (!m_context.hardware)
        return nullptr;
    for (HNode *child : m_context.hardware->children()) {
        if (child->hasFlag(HNode::Chassis) && child->label() == label)
            return child;
    }
    return nullptr;
}

void XControlHandler::bindConnection(const QString &chassisLabel)
{
    if (!m_pControl || !m_context.hardware)
        return;
    HNode *chassis = findChassis(chassisLabel);
    if (!chassis)
        return;
    auto cached = m_nodesByLabel.find(chassis);
    if (cached == m_nodesByLabel.end()) {
        // First match wins, as a search from the chassis would find it:
        // leaves in depth-first order, composites only through their children.
        QHash<QString, HNode *> labels;
        QList<HNode *> pending;
        for (int i = 0; HNode *child = chassis->childAt(i); ++i)
            pending << child;
        while (!pending.isEmpty()) {
            HNode *node = pending.takeFirst();
            if (dynamic_cast<HComposite *>(node)) {
                QList<HNode *> children;
                for (int i = 0; HNode *child = node->childAt(i); ++i)
                    children << child;
                pending = children + pending;
            } else if (!labels.contains(node->label())) {
                labels.insert(node->label(), node);
            }
        }
        cached = m_nodesByLabel.insert(chassis, labels);
    }
    HNode *node = cached->value(m_blockLabel);
    if (!node) {
        node = new HBlock();
        node->setLabel(m_blockLabel);
        chassis->addChild(node);
        cached->insert(m_blockLabel, node);
    }
    m_pControl->setBlock(node);
    node->setMarked(true);
    node->validate();
}

bool XControlHandler::endElement(const QString &namespaceURI, const QString &localName,
                                 const QString &qName)
{
    flushText();
    // A value element of an item that held no text is kept as written, so
    // writing the item back gives the same element.
    if (m_pControl && m_collecting && m_property == WidgetProperty && !m_valueHadText &&
        elementAt(depth() - 3) == QLatin1String("Property"))
        m_pControl->loadItemAttribute(parentElement(), qName, QString());
    m_valueHadText = false;
    XmlHandler::endElement(namespaceURI, localName, qName);
    if (!m_pTarget)
        return true;

    if (qName == QLatin1String("Scene") && m_pCollection != m_pTarget) {
        m_pCollection = m_pTarget;
        return true;
    }
    if (qName == QLatin1String("Panel") && m_pPanel != m_pCollection && m_pPanel != m_pTarget) {
        if (m_panelTypeWord.isEmpty())
            m_pPanel->setPanelKind(QString());
        m_panelTypeWord.clear();
        m_pPanel = m_pCollection;
        return true;
    }
    if (m_collecting && qName == m_block) {
        m_collecting = false;
        m_pControl = nullptr;
        m_pChassis = nullptr;
        m_property.clear();
        return true;
    }
    if (currentElement() != QLatin1String("Property"))
        return true;
    if (m_property == WidgetProperty) {
        if (m_pControl)
            m_pControl->addItem(qName);
    } else if (m_property == AttributesProperty) {
        if (m_block == ControlBlock) {
            if (m_pControl)
                m_pControl->finishAttributes();
        } else if (m_block == ConnectionBlock) {
            if (m_pChassis)
                m_pChassis->endConnectionValue(qName);
        } else if (m_block == CanvasBlock) {
            if (m_context.canvas)
                m_context.canvas->endValue(qName);
        }
    }
    return true;
}
