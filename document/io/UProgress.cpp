#include "document/io/UProgress.h"

UProgress *UProgress::s_pCurrent = nullptr;

UProgress::UProgress(std::function<void()> listener, int interval)
    : m_pPrevious(s_pCurrent), m_listener(std::move(listener)), m_interval(interval)
{
    m_timer.start();
    s_pCurrent = this;
}

UProgress::~UProgress()
{
    s_pCurrent = m_pPrevious;
}

void UProgress::count()
{
    // The clock is read only every so many steps: a step is often one element.
    if (++m_steps % 64 != 0 || m_calling || m_timer.elapsed() < m_interval)
        return;
    // What the listener does may step again; that is not a second call.
    m_calling = true;
    if (m_listener)
        m_listener();
    m_calling = false;
    m_timer.restart();
}
