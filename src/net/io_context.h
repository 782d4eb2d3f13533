#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <memory>

#include <asio/ip/tcp.hpp>

#include "net/socket_id.h"
#include "net/stream_buffer.h"
#include "platform/date_time.h"

// The state of one operation in flight: a posted accept that then serves its connection
// for all its receives (in the connection list), or one chunk of a send (in the pool).
struct IoContext {
    static constexpr int kBufSize = 32766;

    // m_flags bits.
    static constexpr std::uint8_t kConnected = 1;
    static constexpr std::uint8_t kDataReceived = 2;
    static constexpr std::uint8_t kInUse = 8;

    // Back to the state of a new context, "now" as its last activity.
    void Reset();
    // Shuts the connection's socket down both ways and closes it, if it is open.
    void ShutdownAndClose();

    std::array<std::uint8_t, kBufSize> m_buf{};
    // How many bytes of m_buf the operation uses: a receive all of them, a send its chunk.
    int m_nBufLen = kBufSize;
    SOCKET m_sock = INVALID_SOCKET;
    std::uint8_t m_flags = 0;
    DateTime m_tActive;
    // Received and not yet cut into frames. The completion worker alone touches it.
    StreamBuffer m_stream;

    // A connection's socket and the send chunks waiting for it, oldest first; the first
    // is being written while m_bSending. The completion worker alone touches these.
    std::unique_ptr<asio::ip::tcp::socket> m_pSocket;
    std::deque<IoContext*> m_sendQueue;
    bool m_bSending = false;
    bool m_bCloseAfterSends = false;
    // The connection has ended while a write was in flight: the write still refers to the
    // socket, so the context is freed when that write completes.
    bool m_bEnded = false;
};
