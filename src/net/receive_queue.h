#pragma once
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_set>

#include "msg/frame_buffer.h"
#include "net/socket_id.h"

// One whole frame as it was cut from a connection's stream, with that connection.
struct QueuedFrame {
    FrameBuffer m_frame;
    SOCKET m_sock = INVALID_SOCKET;
};

// Frames on their way from the completion worker to the processing thread, in the
// order they were cut. The server bounds what it holds, streams and queue together.
class ReceiveQueue {
public:
    // Appends at the tail, unless the processor has already closed the frame's
    // connection: such a frame must never reach it.
    void Push(QueuedFrame frame);
    // Takes the frame at the head, if any.
    std::optional<QueuedFrame> Take();

    // The processor has closed s: drops its frames now and refuses later ones until
    // the worker reports the end with ConnectionEnded.
    void CloseConnection(SOCKET s);
    // s has ended: drops its frames and forgets it.
    void ConnectionEnded(SOCKET s);

    std::size_t Count() const;
    // Bytes of all the frames waiting.
    std::size_t Bytes() const;
    void Clear();

private:
    void DropFramesOf(SOCKET s);

    mutable std::mutex m_mtxQueue;
    std::deque<QueuedFrame> m_queue;
    std::size_t m_nBytes = 0;
    std::unordered_set<SOCKET> m_closed;
};
