#include "receive_queue.h"

void ReceiveQueue::Push(QueuedMessage msg)
{
    {
        std::lock_guard lock(m_mtx);
        if (m_closed.contains(msg.m_sock)) {
            return;
        }
        m_nHeldBytes += msg.m_nHeldBytes;
        m_queue.push_back(std::move(msg));
    }
    m_cv.notify_one();
}

std::optional<QueuedMessage> ReceiveQueue::Wait()
{
    std::unique_lock lock(m_mtx);
    m_cv.wait(lock, [this] { return !m_queue.empty() || m_bStopped; });
    if (m_queue.empty()) {
        return std::nullopt;
    }
    QueuedMessage msg = std::move(m_queue.front());
    m_queue.pop_front();
    m_nHeldBytes -= msg.m_nHeldBytes;
    m_inHand = msg.m_sock;
    return msg;
}

void ReceiveQueue::Finished()
{
    std::lock_guard lock(m_mtx);
    m_inHand = INVALID_SOCKET;
}

void ReceiveQueue::Stop()
{
    {
        std::lock_guard lock(m_mtx);
        m_bStopped = true;
    }
    m_cv.notify_all();
}

void ReceiveQueue::CloseConnection(SOCKET s)
{
    std::lock_guard lock(m_mtx);
    DropMessagesOf(s);
    m_closed.insert(s);
}

void ReceiveQueue::ConnectionEnded(SOCKET s)
{
    std::lock_guard lock(m_mtx);
    DropMessagesOf(s);
    m_closed.erase(s);
}

bool ReceiveQueue::HasWork(SOCKET s) const
{
    std::lock_guard lock(m_mtx);
    if (m_inHand == s) {
        return true;
    }
    for (const QueuedMessage& msg : m_queue) {
        if (msg.m_sock == s) {
            return true;
        }
    }
    return false;
}

std::size_t ReceiveQueue::Count() const
{
    std::lock_guard lock(m_mtx);
    return m_queue.size();
}

std::size_t ReceiveQueue::HeldBytes() const
{
    std::lock_guard lock(m_mtx);
    return m_nHeldBytes;
}

void ReceiveQueue::DropMessagesOf(SOCKET s)
{
    std::erase_if(m_queue, [this, s](const QueuedMessage& msg) {
        if (msg.m_sock != s) {
            return false;
        }
        m_nHeldBytes -= msg.m_nHeldBytes;
        return true;
    });
}
