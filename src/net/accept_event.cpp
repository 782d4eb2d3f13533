#include "accept_event.h"

void AcceptEvent::Signal()
{
    {
        std::lock_guard lock(m_mtx);
        m_bSignalled = true;
    }
    m_cv.notify_one();
}

void AcceptEvent::Close()
{
    {
        std::lock_guard lock(m_mtx);
        m_bClosed = true;
    }
    m_cv.notify_all();
}

AcceptEvent::WaitResult AcceptEvent::Wait(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mtx);
    if (!m_cv.wait_for(lock, timeout, [this] { return m_bSignalled || m_bClosed; })) {
        return WaitResult::Timeout;
    }
    if (m_bClosed) {
        return WaitResult::Closed;
    }
    m_bSignalled = false;
    return WaitResult::Signalled;
}
