#pragma once
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>

#include "msg/frame_buffer.h"
#include "net/frame_cutter.h"
#include "net/socket_id.h"
#include "net/stream_buffer.h"
#include "os/date_time.h"

class ServerCore;

// One admitted peer: its socket, the bytes received and not yet cut into frames, the
// replies waiting to be written, and its timers. Its pending handlers hold it (each
// keeps a shared_ptr), and so does the server's connection set until it ends; it goes
// when the last of them lets go. Everything here runs on the I/O thread.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(ServerCore& core, asio::ip::tcp::socket socket, SOCKET id);

    SOCKET Id() const { return m_id; }

    // Starts reading and the idle checks.
    void Start();
    // Queues a whole frame behind the ones already queued.
    void Send(std::shared_ptr<const FrameBuffer> frame);
    // Ends the connection once `delay` has passed and every queued reply has been
    // handed to the socket. The first request's delay stands.
    void CloseAfter(std::chrono::milliseconds delay);
    // A message of this connection has been handled; a peer that has half-closed and
    // has nothing more to receive is done.
    void MessageHandled();
    // Closes the socket and leaves the connection set; idempotent.
    void End();

private:
    void Read();
    void OnRead(const asio::error_code& ec, std::size_t bytes);
    void TakeBytes(std::size_t bytes);
    void OnPeerShutdown();
    void WriteNext();
    void OnWritten(const asio::error_code& ec);
    void CloseAfterSends();
    void FinishIfDone();
    void ArmIdleCheck();
    void CheckIdle();
    void DropStream();

    ServerCore& m_core;
    asio::ip::tcp::socket m_socket;
    asio::steady_timer m_idleTimer;
    asio::steady_timer m_closeTimer;
    const SOCKET m_id;

    std::array<std::uint8_t, 32 * 1024> m_readBuf{};
    StreamBuffer m_stream;
    FrameCutter m_cutter;
    std::deque<std::shared_ptr<const FrameBuffer>> m_outgoing;
    std::size_t m_nOutgoingBytes = 0;

    DateTime m_tActive;
    DateTime m_tWriteStarted;
    bool m_bDataReceived = false;
    bool m_bPeerShutdown = false;
    bool m_bWriting = false;
    bool m_bCloseTimerSet = false;
    std::chrono::steady_clock::time_point m_tCloseAt;
    unsigned m_nCloseTimer = 0;
    bool m_bCloseRequested = false;
    bool m_bEnded = false;
};
