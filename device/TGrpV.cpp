#include "device/TGrpV.h"

#include "document/CAttributes.h"

#include <cmath>

void TGrpV::configure()
{
    if (!attributes())
        return;
    m_decimals = qMax(0, attributes()->decimals());
    m_percent = attributes()->units() == QLatin1String("pct");
}

void TGrpV::fromBytes(const QByteArray &bytes)
{
    m_text = QString::fromUtf8(bytes);
}

void TGrpV::fromText(const QString &text)
{
    bool ok = false;
    const qint64 level = text.trimmed().toLongLong(&ok, 10);
    // Bounding the level first keeps the arithmetic clear of overflow.
    if (ok)
        storeCode(2 * qBound<qint64>(-1000, level, 1000) + 120);
}

void TGrpV::fromByte(quint8 value)
{
    storeCode(2 * qint64(value) + 120);
}

void TGrpV::fromFloat(float value)
{
    if (std::isnan(value))
        return;
    // The half step is not sent: -10.5 goes out as -10.
    const double level = std::trunc(static_cast<double>(value));
    const double code = qBound(0.0, 2.0 * level + 120.0, double(MaxCode));
    storeCode(static_cast<qint64>(code));
}

void TGrpV::fromInt(qint32 value)
{
    m_text = QString::number(value);
}

int TGrpV::toBytes(char *buffer, int capacity) const
{
    const QByteArray bytes = m_text.toUtf8();
    const int count = qMin(capacity, bytes.size());
    if (buffer && count > 0)
        memcpy(buffer, bytes.constData(), size_t(count));
    return bytes.size();
}

QString TGrpV::toText() const
{
    return m_text;
}

quint8 TGrpV::toByte() const
{
    return static_cast<quint8>(((code() + 136) % 256) / 2);
}

float TGrpV::toFloat() const
{
    return static_cast<float>((code() - 120) * 0.5);
}

qint32 TGrpV::toInt() const
{
    return static_cast<qint32>((code() - 120) / 2);
}

void TGrpV::setText(const QString &text)
{
    // The DSP answers with the hex code itself.
    m_text = text;
}

QString TGrpV::displayText() const
{
    return m_percent ? m_displayText + QLatin1Char('%') : m_displayText;
}

void TGrpV::setDisplay(float value)
{
    m_displayText = QString::number(double(value), 'f', m_decimals);
}

int TGrpV::size() const
{
    return m_text.size();
}

QString TGrpV::name() const
{
    return QStringLiteral("GrpV");
}

void TGrpV::storeCode(qint64 code)
{
    m_text = QString::number(qBound<qint64>(0, code, MaxCode), 16);
}

qint64 TGrpV::code() const
{
    // A text that is no hex number (or an absurdly long one) reads as code 0.
    bool ok = false;
    const uint value = m_text.trimmed().toUInt(&ok, 16);
    return ok ? qint64(value) : 0;
}
