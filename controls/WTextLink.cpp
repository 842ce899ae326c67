#include "controls/WTextLink.h"

#include "design/HNode.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/io/XmlWriter.h"

#include <QDebug>

WTextLink::WTextLink(QQuickItem *parent) : WButton(parent) {}

WTextLink::~WTextLink() = default;

void WTextLink::destroy()
{
    qDebug() << "WTextLink::destroy";
}

void WTextLink::setIndex(int index)
{
    m_index = index;
    setRootProperty("index", index);
}

bool WTextLink::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("text")) {
        // "?" stands for the bound object's name. Without a bound object the
        // text is still shown, so it is not lost on the next save.
        QString text = value;
        if (m_pOwnerObject && text == QLatin1String("?"))
            text = m_pOwnerObject->label();
        setRootText(text);
        setRootProperty("hasText", true);
    } else if (name == QLatin1String("index")) {
        // The bound object knows its index better than the file; without one
        // the stored number is all there is.
        bool ok = false;
        const int stored = value.toInt(&ok);
        if (m_pOwnerObject)
            setIndex(m_pOwnerObject->index());
        else if (ok)
            setIndex(stored);
    } else if (name == QLatin1String("paramidx")) {
        bool ok = false;
        const int index = value.toInt(&ok);
        if (ok)
            setIndex(index);
    } else if (name == QLatin1String("scale")) {
        setRootProperty("hasText", true);
        setRootProperty("hasImage", false);
    } else if (name == QLatin1String("buttonmode")) {
        setRootProperty("buttonMode", value == tr("Button"));
    } else {
        return WButton::loadAttribute(name, value);
    }
    return true;
}

bool WTextLink::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    if (rootProperty("hasText").toBool())
        writer->writeTextElement(QStringLiteral("text"), rootText());
    writer->writeTextElement(QStringLiteral("paramidx"), qint32(m_index));
    writeButtonValues(writer);
    writer->writeTextElement(QStringLiteral("buttonmode"),
                             rootProperty("buttonMode").toBool() ? tr("Button") : tr("Blank"));
    writer->writeEndElement(m_typeName);
    return true;
}

void WTextLink::outputClicked()
{
    // A link that stands for no value has nothing to choose.
    if (!m_pRoot || !m_pTransform || !m_pProtocol || !m_outputEnabled || m_index < 0)
        return;
    m_pTransform->fromByte(quint8(m_index));
    m_pProtocol->sendValue(m_pTransform);
}

void WTextLink::inputValue()
{
    if (!m_pRoot || !m_pTransform)
        return;
    m_outputEnabled = false;
    m_current = m_pTransform->toInt();
    setRootProperty("current", m_current);
    m_outputEnabled = true;
}

bool WTextLink::hasProperties() const
{
    return true;
}

QWidget *WTextLink::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WTextLink::attribute(uint id) const
{
    if (id == 0x4500)
        return rootProperty("buttonMode").toBool() ? tr("Button") : tr("Blank");
    return WButton::attribute(id);
}

void WTextLink::setAttribute(uint id, const QVariant &value)
{
    if (id == 0x4500) {
        setRootProperty("buttonMode", value.toString() == tr("Button"));
        return;
    }
    WButton::setAttribute(id, value);
}
