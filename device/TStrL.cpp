#include "device/TStrL.h"

#include "document/CAttributes.h"

void TStrL::configure()
{
    if (!attributes())
        return;
    const QStringList entries = setEntries(attributes()->set(), TableSize);
    m_count = entries.size();
    for (int i = 0; i < TableSize; ++i)
        m_table[i] = i < m_count ? entries.at(i) : QString();
}

void TStrL::fromText(const QString &text)
{
    // Only entries the set list filled can match; an unused slot is no state.
    m_index = 0;
    for (int i = 0; i < m_count; ++i) {
        if (m_table[i] == text) {
            m_index = static_cast<quint8>(i);
            return;
        }
    }
}

void TStrL::fromByte(quint8 value)
{
    m_index = value;
}

QString TStrL::toText() const
{
    if (m_index >= TableSize)
        return QStringLiteral("?");
    return m_table[m_index];
}

quint8 TStrL::toByte() const
{
    return m_index;
}

int TStrL::size() const
{
    return 1;
}

QString TStrL::name() const
{
    return QStringLiteral("StrL");
}
