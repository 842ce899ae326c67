#include "views/VModeManager.h"

#include <QVariant>

namespace {
VModeManager *s_pInstance = nullptr;
}

VModeManager *VModeManager::instance()
{
    if (!s_pInstance)
        s_pInstance = new VModeManager();
    return s_pInstance;
}

void VModeManager::release()
{
    delete s_pInstance;
    s_pInstance = nullptr;
}

void VModeManager::cancel()
{
    if (m_pModalObject)
        m_pModalObject->setProperty("cancel", true);
}
