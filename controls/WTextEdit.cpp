#include "controls/WTextEdit.h"

#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CAttributes.h"
#include "document/io/XmlWriter.h"

WTextEdit::WTextEdit(QQuickItem *parent) : WWidget(parent) {}

WTextEdit::~WTextEdit() = default;

void WTextEdit::setAttributes(CAttributes *attributes)
{
    m_format = attributes ? attributes->format() : QString();
    m_decimals = attributes ? attributes->decimals() : 0;
}

bool WTextEdit::loadAttribute(const QString &name, const QString &value)
{
    // Only the base values: the text comes from the device.
    if (name == QLatin1String("title"))
        return false;
    return WWidget::loadAttribute(name, value);
}

bool WTextEdit::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeEndElement(m_typeName);
    return true;
}

void WTextEdit::onTextChanged()
{
    // The echo of a text this item was handed through its link.
    if (m_linkUpdate)
        return;
    const QString text = rootText();
    if (text != m_lastText) {
        if (m_pTransform && m_pProtocol) {
            m_pTransform->fromText(text);
            m_pProtocol->sendValue(m_pTransform);
        }
        m_lastText = text;
    }
    if (m_pLinkedItem)
        m_pLinkedItem->linkValue(this);
}

void WTextEdit::outputCurrentText(QString text)
{
    if (text != m_lastText)
        m_lastText = text;
    if (m_pLinkedItem)
        m_pLinkedItem->linkValue(this);
}

void WTextEdit::linkValue(WWidget *source)
{
    if (source == this || !m_pTransform)
        return;
    const QString text = m_pTransform->displayText();
    // Only a text new to this item goes further, so a chain that loops
    // without passing its start still ends.
    if (text == m_lastText || !m_pRoot)
        return;
    m_linkUpdate = true;
    setRootText(text);
    m_linkUpdate = false;
    m_lastText = text;
    if (m_pLinkedItem)
        m_pLinkedItem->linkValue(source);
}
