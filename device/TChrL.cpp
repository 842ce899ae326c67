#include "device/TChrL.h"

#include "document/CAttributes.h"

TChrL::TChrL()
{
    for (quint8 &entry : m_table)
        entry = 0xFF;
}

void TChrL::configure()
{
    if (!attributes())
        return;
    for (quint8 &entry : m_table)
        entry = 0xFF;
    const QStringList entries = setEntries(attributes()->set(), TableSize);
    for (int i = 0; i < entries.size(); ++i) {
        const ushort code = entries.at(i).at(0).unicode();
        m_table[i] = code >= 256 ? 0 : static_cast<quint8>(code);
    }
}

void TChrL::fromText(const QString &text)
{
    m_index = 0;
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty())
        return;
    const quint8 first = static_cast<quint8>(utf8.at(0));
    for (int i = 0; i < TableSize; ++i) {
        if (m_table[i] == first) {
            m_index = static_cast<quint8>(i);
            return;
        }
    }
}

void TChrL::fromByte(quint8 value)
{
    m_index = value;
}

QString TChrL::toText() const
{
    if (m_index >= TableSize)
        return QStringLiteral("?");
    return QString(QChar(static_cast<ushort>(m_table[m_index])));
}

quint8 TChrL::toByte() const
{
    return m_index;
}

void TChrL::setText(const QString &text)
{
    fromText(text);
}

int TChrL::size() const
{
    return 1;
}

QString TChrL::name() const
{
    return QStringLiteral("ChrL");
}
