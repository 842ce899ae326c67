#include "device/TText.h"

void TText::fromBytes(const QByteArray &bytes)
{
    m_text = QString::fromUtf8(bytes);
}

void TText::fromText(const QString &text)
{
    m_text = text;
}

int TText::toBytes(char *buffer, int capacity) const
{
    const QByteArray bytes = m_text.toUtf8();
    const int count = qMin(capacity, bytes.size());
    if (buffer && count > 0)
        memcpy(buffer, bytes.constData(), size_t(count));
    return bytes.size();
}

QString TText::toText() const
{
    return m_text;
}

void TText::setText(const QString &text)
{
    m_text = text;
}

int TText::size() const
{
    return m_text.size();
}

QString TText::name() const
{
    return QStringLiteral("Text");
}
