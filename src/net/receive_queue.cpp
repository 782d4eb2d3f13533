#include "receive_queue.h"

#include <algorithm>

void ReceiveQueue::Push(QueuedFrame frame)
{
    std::lock_guard lock(m_mtxQueue);
    if (m_closed.contains(frame.m_sock)) {
        return;
    }
    m_nBytes += static_cast<std::size_t>(frame.m_frame.Length());
    m_queue.push_back(std::move(frame));
}

std::optional<QueuedFrame> ReceiveQueue::Take()
{
    std::lock_guard lock(m_mtxQueue);
    if (m_queue.empty()) {
        return std::nullopt;
    }
    QueuedFrame frame = std::move(m_queue.front());
    m_queue.pop_front();
    m_nBytes -= static_cast<std::size_t>(frame.m_frame.Length());
    return frame;
}

void ReceiveQueue::CloseConnection(SOCKET s)
{
    std::lock_guard lock(m_mtxQueue);
    DropFramesOf(s);
    m_closed.insert(s);
}

void ReceiveQueue::ConnectionEnded(SOCKET s)
{
    std::lock_guard lock(m_mtxQueue);
    DropFramesOf(s);
    m_closed.erase(s);
}

std::size_t ReceiveQueue::Count() const
{
    std::lock_guard lock(m_mtxQueue);
    return m_queue.size();
}

std::size_t ReceiveQueue::Bytes() const
{
    std::lock_guard lock(m_mtxQueue);
    return m_nBytes;
}

void ReceiveQueue::Clear()
{
    std::lock_guard lock(m_mtxQueue);
    m_queue.clear();
    m_nBytes = 0;
    m_closed.clear();
}

void ReceiveQueue::DropFramesOf(SOCKET s)
{
    std::erase_if(m_queue, [this, s](const QueuedFrame& f) {
        if (f.m_sock != s) {
            return false;
        }
        m_nBytes -= static_cast<std::size_t>(f.m_frame.Length());
        return true;
    });
}
