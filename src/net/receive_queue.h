#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_set>

#include "msg/comm_msg.h"
#include "net/socket_id.h"

// One parsed message with the connection it came from.
struct QueuedMessage {
    SOCKET m_sock = INVALID_SOCKET;
    std::unique_ptr<CommMsg_base> m_pMsg;
    // What it counts against the server's bound of held bytes.
    std::size_t m_nHeldBytes = 0;
};

// Messages on their way from the I/O thread to the processing thread, in the order they
// were cut. The processing thread sleeps on a condition variable while it is empty. The
// server bounds what it holds, streams and queue together.
class ReceiveQueue {
public:
    // Appends at the tail and wakes the processing thread, unless the processor has
    // already closed the message's connection: such a message must never reach it.
    void Push(QueuedMessage msg);
    // Waits for the message at the head and takes it; it counts as in hand until
    // Finished. Nothing once Stop has been called and the queue is empty.
    std::optional<QueuedMessage> Wait();
    // The processor is done with the message Wait gave last.
    void Finished();
    // Ends the waiting for good once what is queued has been taken.
    void Stop();

    // The processor has closed s: drops its messages now and refuses later ones until
    // the I/O thread reports the end with ConnectionEnded.
    void CloseConnection(SOCKET s);
    // s has ended: drops its messages and forgets it.
    void ConnectionEnded(SOCKET s);
    // A message of s is queued or in the processor's hands.
    bool HasWork(SOCKET s) const;

    std::size_t Count() const;
    std::size_t HeldBytes() const;

private:
    void DropMessagesOf(SOCKET s);

    mutable std::mutex m_mtx;
    std::condition_variable m_cv;
    std::deque<QueuedMessage> m_queue;
    std::size_t m_nHeldBytes = 0;
    std::unordered_set<SOCKET> m_closed;
    SOCKET m_inHand = INVALID_SOCKET;
    bool m_bStopped = false;
};
