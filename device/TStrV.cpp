#include "device/TStrV.h"

#include "document/CAttributes.h"

void TStrV::configure()
{
    if (!attributes())
        return;
    m_decimals = qMax(0, attributes()->decimals());
    m_percent = attributes()->units() == QLatin1String("pct");
}

void TStrV::fromBytes(const QByteArray &bytes)
{
    m_text = QString::fromUtf8(bytes);
}

void TStrV::fromText(const QString &text)
{
    m_text = text;
}

void TStrV::fromByte(quint8 value)
{
    m_text = QString::number(value);
}

void TStrV::fromFloat(float value)
{
    m_text = QString::number(double(value), 'f', m_decimals);
}

void TStrV::fromInt(qint32 value)
{
    m_text = QString::number(value);
}

int TStrV::toBytes(char *buffer, int capacity) const
{
    const QByteArray bytes = m_text.toUtf8();
    const int count = qMin(capacity, bytes.size());
    if (buffer && count > 0)
        memcpy(buffer, bytes.constData(), size_t(count));
    return bytes.size();
}

QString TStrV::toText() const
{
    return m_text;
}

quint8 TStrV::toByte() const
{
    bool ok = false;
    const uint value = m_text.trimmed().toUInt(&ok, 10);
    return ok ? static_cast<quint8>(value & 0xFF) : 0;
}

float TStrV::toFloat() const
{
    bool ok = false;
    const float value = m_text.trimmed().toFloat(&ok);
    return ok ? value : 0.0f;
}

qint32 TStrV::toInt() const
{
    bool ok = false;
    const int value = m_text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

void TStrV::setText(const QString &text)
{
    m_text = text;
}

QString TStrV::displayText() const
{
    return m_percent ? m_displayText + QLatin1Char('%') : m_displayText;
}

void TStrV::setDisplay(float value)
{
    m_displayText = QString::number(double(value), 'f', m_decimals);
}

int TStrV::size() const
{
    return m_text.size();
}

QString TStrV::name() const
{
    return QStringLiteral("StrV");
}
