#include "device/TTransform.h"

#include "document/CAttributes.h"

TTransform::TTransform() : m_pLinkOwner(this) {}

TTransform::~TTransform() = default;

void TTransform::configure() {}
void TTransform::fromBytes(const QByteArray &) {}
void TTransform::fromText(const QString &) {}
void TTransform::fromByte(quint8) {}
void TTransform::fromFloat(float) {}
void TTransform::fromInt(qint32) {}

int TTransform::toBytes(char *, int) const
{
    return 0;
}

QString TTransform::toText() const
{
    return QString();
}

quint8 TTransform::toByte() const
{
    return 0;
}

float TTransform::toFloat() const
{
    return 0.0f;
}

qint32 TTransform::toInt() const
{
    return 0;
}

void TTransform::setText(const QString &) {}

QString TTransform::displayText() const
{
    return QString();
}

void TTransform::setDisplay(float) {}

int TTransform::size() const
{
    return 0;
}

QString TTransform::name() const
{
    return QStringLiteral("TTransform");
}

void TTransform::link(int mode)
{
    if (mode == 0) {
        m_pLinked = m_pAttributes ? m_pAttributes->linkedTransform() : nullptr;
        if (m_pLinked)
            m_pLinked->m_pLinkOwner = this;
    } else if (mode == 1) {
        if (!m_pLinked)
            return;
        // Follow the owners to the end of the chain; a chain that loops back is
        // cut where it closes rather than followed forever.
        TTransform *owner = this;
        int guard = 0;
        while (owner->m_pLinkOwner && owner->m_pLinkOwner != owner && guard++ < 1024)
            owner = owner->m_pLinkOwner;
        m_pLinked->m_pLinkOwner = owner;
    }
}

QStringList TTransform::setEntries(const QString &set, int maxCount)
{
    QStringList entries;
    const QStringList parts = set.split(QLatin1Char(','));
    for (const QString &part : parts) {
        if (part.isEmpty() || entries.size() >= maxCount)
            break;
        entries.append(part);
    }
    return entries;
}
