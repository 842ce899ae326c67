#include "device/TBin8.h"

void TBin8::fromBytes(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        m_value = static_cast<quint8>(bytes.at(0));
}

void TBin8::fromText(const QString &text)
{
    bool ok = false;
    ushort number = 0;
    if (text.startsWith(QLatin1String("0x")))
        number = text.mid(2).toUShort(&ok, 16);
    else
        number = text.toUShort(&ok, 10);
    m_value = ok ? static_cast<quint8>(number & 0xFF) : 0;
}

void TBin8::fromByte(quint8 value)
{
    m_value = value;
}

void TBin8::fromInt(qint32 value)
{
    m_value = static_cast<quint8>(value & 0xFF);
}

int TBin8::toBytes(char *buffer, int capacity) const
{
    if (buffer && capacity >= 1)
        buffer[0] = static_cast<char>(m_value);
    return 1;
}

QString TBin8::toText() const
{
    return QString::number(m_value);
}

quint8 TBin8::toByte() const
{
    return m_value;
}

qint32 TBin8::toInt() const
{
    return m_value;
}

void TBin8::setText(const QString &text)
{
    fromText(text);
}

int TBin8::size() const
{
    return 1;
}

QString TBin8::name() const
{
    return QStringLiteral("Bin8");
}
