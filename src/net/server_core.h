#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>

#include "msg/frame_buffer.h"
#include "net/net_block.h"
#include "net/proc_base.h"
#include "net/receive_queue.h"
#include "net/socket_id.h"

class Connection;

// The I/O side of the server: the io_context that the I/O thread runs, the listening
// socket with its one standing accept, and the set of admitted connections. Apart from
// the Post* calls, which any thread may make, everything here belongs to the I/O thread.
class ServerCore {
public:
    ServerCore(ReceiveQueue& queue, CProcBase_tq* proc, std::vector<NetBlock> allowed);
    ~ServerCore();
    ServerCore(const ServerCore&) = delete;
    ServerCore& operator=(const ServerCore&) = delete;

    // Before the I/O thread starts. Returns the port listened on, 0 on failure (logged).
    int Listen(const asio::ip::address& address, int port);
    // The I/O thread's body: returns once PostStop has ended everything.
    void Run();

    void PostStop();
    void PostSend(const std::vector<SOCKET>& socks, std::shared_ptr<const FrameBuffer> frame);
    void PostClose(SOCKET s, std::chrono::milliseconds delay);
    void PostMessageHandled(SOCKET s);

    int ConnectionCount() const { return m_nConnections.load(); }
    // Since the start, for the display's status: frames rejected, peers closed at once.
    std::uint64_t FramesRejected() const { return m_nFramesRejected.load(); }
    std::uint64_t PeersRefused() const { return m_nPeersRefused.load(); }

    // For the connections.
    ReceiveQueue& Queue() { return m_queue; }
    void StreamResized(std::size_t before, std::size_t after) { m_nStreamBytes = m_nStreamBytes - before + after; }
    std::int64_t HeldBytes() const;
    void ConnectionEnded(SOCKET s);
    void NoteRejectedFrames(int n) { m_nFramesRejected += static_cast<std::uint64_t>(n); }

private:
    void Accept();
    void OnAccept(const asio::error_code& ec, asio::ip::tcp::socket socket);
    void Admit(asio::ip::tcp::socket socket);
    std::shared_ptr<Connection> Find(SOCKET s) const;

    asio::io_context m_io{1};
    asio::executor_work_guard<asio::io_context::executor_type> m_work = asio::make_work_guard(m_io);
    asio::ip::tcp::acceptor m_acceptor{m_io};
    asio::steady_timer m_acceptBackoff{m_io};
    ReceiveQueue& m_queue;
    CProcBase_tq* const m_pProc;
    const std::vector<NetBlock> m_allowed;

    std::unordered_map<SOCKET, std::shared_ptr<Connection>> m_conns;
    std::atomic<int> m_nConnections{0};
    std::atomic<std::uint64_t> m_nFramesRejected{0};
    std::atomic<std::uint64_t> m_nPeersRefused{0};
    // Bytes in all the connections' streams.
    std::size_t m_nStreamBytes = 0;
    // Accepts are failing; logged once when it began, over at the next success.
    bool m_bAcceptFailing = false;
    bool m_bStopping = false;
};
