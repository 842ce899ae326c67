#include "controls/WDelegate.h"

#include "controls/WWidgetFactory.h"

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
