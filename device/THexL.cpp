#include "device/THexL.h"

#include "document/CAttributes.h"

THexL::THexL()
{
    for (quint8 &entry : m_table)
        entry = 0xFF;
}

void THexL::configure()
{
    if (!attributes())
        return;
    for (quint8 &entry : m_table)
        entry = 0xFF;
    const QStringList entries = setEntries(attributes()->set(), TableSize);
    for (int i = 0; i < entries.size(); ++i) {
        bool ok = false;
        const uint code = entries.at(i).toUInt(&ok, 16);
        m_table[i] = ok ? static_cast<quint8>(code & 0xFF) : 0;
    }
}

// Answers from the DSP never change a byte code, so fromText and setText stay
// with the base behaviour.

void THexL::fromByte(quint8 value)
{
    m_index = value;
}

int THexL::toBytes(char *buffer, int capacity) const
{
    if (buffer && capacity >= 1)
        buffer[0] = static_cast<char>(toByte());
    return 1;
}

QString THexL::toText() const
{
    if (m_index >= TableSize)
        return QStringLiteral("?");
    return QString(QChar(static_cast<ushort>(m_table[m_index])));
}

quint8 THexL::toByte() const
{
    return m_index < TableSize ? m_table[m_index] : 0xFF;
}

int THexL::size() const
{
    return 1;
}

QString THexL::name() const
{
    return QStringLiteral("HexL");
}
