#include "controls/WDelegate.h"

#include "controls/WWidgetFactory.h"

#include <QDateTime>

namespace {
WDelegate *s_pInstance = nullptr;
}

WDelegate *WDelegate::instance()
{
    if (!s_pInstance)
        s_pInstance = new WDelegate();
    return s_pInstance;
}

void WDelegate::release()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

WDelegate::WDelegate() : m_idCounter(quint32(QDateTime::currentSecsSinceEpoch())) {}

WDelegate::~WDelegate()
{
    delete m_pFactory;
}

void WDelegate::setFactory(WWidgetFactory *factory)
{
    if (factory == m_pFactory)
        return;
    delete m_pFactory;
    m_pFactory = factory;
}

quint32 WDelegate::nextId()
{
    ++m_idCounter;
    // 0 means "no id" everywhere; never hand it out when the counter wraps.
    if (m_idCounter == 0)
        ++m_idCounter;
    return m_idCounter;
}

void WDelegate::reserveId(quint32 id)
{
    if (id > m_idCounter)
        m_idCounter = id;
}
