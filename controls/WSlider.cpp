#include "controls/WSlider.h"

#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CAttributes.h"
#include "document/CControl.h"
#include "document/CItem.h"
#include "document/io/XmlWriter.h"

namespace {
// Steps finer than this are taken for a missing step.
constexpr float SmallestStep = 0.02f;
} // namespace

WSlider::WSlider(QQuickItem *parent) : WWidget(parent) {}

WSlider::~WSlider() = default;

void WSlider::setAttributes(CAttributes *attributes)
{
    m_pAttributes = attributes;
    if (!m_pRoot || !attributes)
        return;
    m_step = attributes->step();
    if (!(m_step >= SmallestStep))
        m_step = 1.0f;
    m_maximum = attributes->maximum() / m_step;
    m_minimum = attributes->minimum() / m_step;
    if (attributes->units() == QLatin1String("pct")) {
        m_percent = true;
        attributes->setDecimals(0);
    }
    setRootProperty("maximumValue", m_maximum);
    setRootProperty("minimumValue", m_minimum);
    setRootProperty("bipolar", m_minimum == -m_maximum);
}

float WSlider::shownValue(float position) const
{
    if (!m_percent)
        return m_step * position;
    const float range = m_maximum - m_minimum;
    return range != 0.0f ? (position - m_minimum) * 100.0f / range : 0.0f;
}

void WSlider::outputValue(int value)
{
    // The echo of a value a link wrote is not the user's move.
    if (m_linkUpdate)
        return;
    const float v = m_step * float(value);
    if (v != m_lastValue) {
        m_lastValue = v;
        // The transform follows even offline, so the items linked to it show
        // the move; only the device needs the protocol.
        if (m_pTransform && m_outputEnabled) {
            m_pTransform->fromFloat(v);
            m_pTransform->setDisplay(shownValue(float(value)));
            if (m_pProtocol)
                m_pProtocol->sendValue(m_pTransform);
        }
    }
    if (m_pLinkedItem)
        m_pLinkedItem->linkValue(this);
}

void WSlider::inputValue()
{
    if (!m_pTransform)
        return;
    float position = m_pTransform->toFloat() / m_step;
    if (m_minimum > position)
        position = m_minimum;
    else if (position > m_maximum)
        position = m_maximum;
    m_pTransform->setDisplay(shownValue(position));
    m_outputEnabled = false;
    setRootProperty("value", qRound(position));
    m_outputEnabled = true;
}

void WSlider::linkValue(WWidget *source)
{
    // A chain that comes back to its start, or loops through this item
    // again, ends here.
    if (source == this || m_passingLink)
        return;
    if (m_pTransform) {
        const float v = m_pTransform->toFloat();
        if (v != m_lastValue) {
            if (m_pRoot) {
                m_linkUpdate = true;
                setRootProperty("value", qRound(v / m_step));
                m_linkUpdate = false;
            }
            m_lastValue = v;
        }
    }
    if (m_pLinkedItem) {
        m_passingLink = true;
        m_pLinkedItem->linkValue(source);
        m_passingLink = false;
    }
}

void WSlider::updateLink()
{
    if (m_pLinkedItem && m_pTransform) {
        m_pTransform->fromFloat(m_lastValue);
        m_pTransform->setDisplay(shownValue(m_lastValue / m_step));
        m_pLinkedItem->linkValue(this);
    }
    refreshCaptions();
}

void WSlider::refreshCaptions()
{
    CItem *label = m_pControl ? m_pControl->findItem(QStringLiteral("label")) : nullptr;
    if (!label)
        return;
    const QString text = label->rootText();
    if (text == QLatin1String("*LABEL*"))
        label->setTitle(m_pControl->blockLabel());
    else if (text == QLatin1String("*TITLE*"))
        label->setTitle(m_pControl->name());
}

bool WSlider::loadAttribute(const QString &name, const QString &value)
{
    // A slider has no caption of its own.
    if (name == QLatin1String("title"))
        return false;
    if (WWidget::loadAttribute(name, value))
        return true;
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("orient"))
        return true;
    if (name == QLatin1String("knobcolor")) {
        setColor("knobColor", value);
        return true;
    }
    return false;
}

bool WSlider::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("orient"), QStringLiteral("vertical"));
    writer->writeTextElement(QStringLiteral("knobcolor"), colorName("knobColor"));
    writer->writeEndElement(m_typeName);
    return true;
}

bool WSlider::isType(const QString &type) const
{
    return !m_typeName.isEmpty() && type.contains(m_typeName);
}

bool WSlider::isSlider() const
{
    return true;
}

void WSlider::properties() {}

bool WSlider::hasProperties() const
{
    return true;
}

QWidget *WSlider::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WSlider::attribute(uint id) const
{
    switch (id) {
    case 0x4200:
        return m_pAttributes ? QString::number(double(m_pAttributes->minimum()), 'g', 6)
                             : QString();
    case 0x4201:
        return m_pAttributes ? QString::number(double(m_pAttributes->maximum()), 'g', 6)
                             : QString();
    case 0x4202:
        return m_percent ? tr("Percent") : tr("dB");
    case 0x4203:
        return rootProperty("knobColor");
    default:
        return WWidget::attribute(id);
    }
}

void WSlider::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4200:
    case 0x4201: {
        bool ok = false;
        const float limit = value.toFloat(&ok);
        if (!ok)
            return;
        if (id == 0x4200) {
            m_minimum = limit / m_step;
            setRootProperty("minimumValue", m_minimum);
            if (m_pAttributes)
                m_pAttributes->setMinimum(limit);
        } else {
            m_maximum = limit / m_step;
            setRootProperty("maximumValue", m_maximum);
            if (m_pAttributes)
                m_pAttributes->setMaximum(limit);
        }
        // The groove's look follows the new range.
        setRootProperty("bipolar", m_minimum == -m_maximum);
        updateLink();
        return;
    }
    case 0x4202:
        m_percent = value.toString() == tr("Percent");
        if (m_pAttributes) {
            m_pAttributes->setUnits(m_percent ? QStringLiteral("pct") : QString());
            m_pAttributes->setDecimals(m_percent ? 0 : 1);
        }
        updateLink();
        return;
    case 0x4203:
        setRootProperty("knobColor", value);
        return;
    default:
        WWidget::setAttribute(id, value);
    }
}
