#include "document/CIdSource.h"

#include <QDateTime>

CIdSource::CIdSource() : m_counter(quint32(QDateTime::currentSecsSinceEpoch())) {}

quint32 CIdSource::next()
{
    ++m_counter;
    // 0 means "no id" everywhere; never hand it out when the counter wraps.
    if (m_counter == 0)
        ++m_counter;
    return m_counter;
}

void CIdSource::reserve(quint32 id)
{
    if (id > m_counter)
        m_counter = id;
}
