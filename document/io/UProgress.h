#pragma once

#include <QElapsedTimer>

#include <functional>

// Lets long reads, writes and builds hand control to a listener now and then
// (the editor repaints its window there). While one lives it is the listener;
// without one, step() costs a test of a pointer.
class UProgress
{
public:
    // Called at most once per interval of milliseconds.
    explicit UProgress(std::function<void()> listener, int interval = 100);
    ~UProgress();
    UProgress(const UProgress &) = delete;
    UProgress &operator=(const UProgress &) = delete;

    // One unit of work done: an element read or written, an item built.
    static void step()
    {
        if (s_pCurrent)
            s_pCurrent->count();
    }

private:
    void count();

    static UProgress *s_pCurrent;
    UProgress *m_pPrevious = nullptr;
    std::function<void()> m_listener;
    QElapsedTimer m_timer;
    int m_interval = 100;
    int m_steps = 0;
    bool m_calling = false;
};
