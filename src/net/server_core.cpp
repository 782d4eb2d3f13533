#include "server_core.h"

#include <system_error>

#include <asio/error.hpp>
#include <asio/ip/v6_only.hpp>
#include <asio/post.hpp>

#include "connection.h"
#include "port_reuse.h"
#include "net/diag_log.h"
#include "net/log_texts.h"

namespace {

constexpr int kListenBacklog = 1000;
constexpr int kSocketBufferBytes = 262144;
// After a failed accept the next waits this long: a process out of descriptors would
// otherwise retry the connection still waiting in the backlog at once, for ever.
constexpr auto kAcceptBackoff = std::chrono::milliseconds(100);

// Asio's error names are the system's own codes: errno values on Linux, Winsock's on Windows.
bool IsOutOfSockets(const asio::error_code& ec)
{
    return ec == asio::error::no_descriptors || ec == std::errc::too_many_files_open_in_system ||
           ec == asio::error::no_buffer_space || ec == asio::error::no_memory;
}

}  // namespace

ServerCore::ServerCore(ReceiveQueue& queue, CProcBase_tq* proc, std::vector<NetBlock> allowed)
    : m_queue(queue), m_pProc(proc), m_allowed(std::move(allowed))
{
}

ServerCore::~ServerCore() = default;

int ServerCore::Listen(const asio::ip::address& address, int port)
{
    const asio::ip::tcp::endpoint endpoint(address, static_cast<unsigned short>(port & 0xFFFF));
    asio::error_code ec;
    m_acceptor.open(endpoint.protocol(), ec);
    if (ec) {
        WriteLog(LogText::WithCode(LogText::kWsaSocketFailed, ec.value()));
        return 0;
    }
    AllowRestartOnPort(m_acceptor);
    if (address.is_v6()) {
        // "::" takes both families; any other IPv6 address only its own.
        m_acceptor.set_option(asio::ip::v6_only(!address.is_unspecified()), ec);
    }
    const auto fail = [&](const char16_t* text, const asio::error_code& error) {
        asio::error_code ignored;
        m_acceptor.close(ignored);
        WriteLog(LogText::WithCode(text, error.value()));
        return 0;
    };
    m_acceptor.bind(endpoint, ec);
    if (ec) {
        return fail(LogText::kBindFailed, ec);
    }
    m_acceptor.listen(kListenBacklog, ec);
    if (ec) {
        return fail(LogText::kListenFailed, ec);
    }
    const int listening = m_acceptor.local_endpoint(ec).port();
    WriteLog(LogText::Listening(listening));
    Accept();
    return listening;
}

void ServerCore::Run()
{
    m_io.run();
}

void ServerCore::Accept()
{
    m_acceptor.async_accept([this](const asio::error_code& ec, asio::ip::tcp::socket socket) {
        OnAccept(ec, std::move(socket));
    });
}

void ServerCore::OnAccept(const asio::error_code& ec, asio::ip::tcp::socket socket)
{
    if (m_bStopping || ec == asio::error::operation_aborted) {
        return;
    }
    if (ec) {
        if (!m_bAcceptFailing) {
            m_bAcceptFailing = true;
            WriteLog(IsOutOfSockets(ec) ? std::u16string(LogText::kAcceptSocketFailed)
                                        : LogText::WithCode(LogText::kAcceptFailed, ec.value()));
        }
        m_acceptBackoff.expires_after(kAcceptBackoff);
        m_acceptBackoff.async_wait([this](const asio::error_code& waitError) {
            if (!waitError && !m_bStopping) {
                Accept();
            }
        });
        return;
    }
    m_bAcceptFailing = false;
    Admit(std::move(socket));
    Accept();
}

void ServerCore::Admit(asio::ip::tcp::socket socket)
{
    asio::error_code ec;
    const asio::ip::tcp::endpoint peer = socket.remote_endpoint(ec);
    if (ec) {
        return;
    }
    if (!IsAllowed(m_allowed, peer.address())) {
        WriteLog(LogText::Refused(Unmapped(peer.address()).to_string()));
        ++m_nPeersRefused;
        socket.close(ec);
        return;
    }
    socket.set_option(asio::socket_base::receive_buffer_size(kSocketBufferBytes), ec);
    socket.set_option(asio::socket_base::send_buffer_size(kSocketBufferBytes), ec);
    const SOCKET id = NewSocketId();
    WriteLog(LogText::Accepted(static_cast<long long>(id)));
    auto conn = std::make_shared<Connection>(*this, std::move(socket), id);
    m_conns.emplace(id, conn);
    ++m_nConnections;
    conn->Start();
}

std::shared_ptr<Connection> ServerCore::Find(SOCKET s) const
{
    const auto it = m_conns.find(s);
    return it == m_conns.end() ? nullptr : it->second;
}

std::int64_t ServerCore::HeldBytes() const
{
    return static_cast<std::int64_t>(m_nStreamBytes + m_queue.HeldBytes());
}

void ServerCore::ConnectionEnded(SOCKET s)
{
    if (m_conns.erase(s) == 0) {
        return;
    }
    --m_nConnections;
    m_queue.ConnectionEnded(s);
    if (m_pProc != nullptr) {
        m_pProc->OnSocketClosed(s);
    }
}

// Closing the listening socket and every connection makes their pending handlers run
// as cancelled; once the work guard is gone, Run returns after the last of them.
void ServerCore::PostStop()
{
    asio::post(m_io, [this] {
        m_bStopping = true;
        asio::error_code ignored;
        m_acceptor.close(ignored);
        m_acceptBackoff.cancel();
        std::vector<std::shared_ptr<Connection>> all;
        for (const auto& [id, conn] : m_conns) {
            all.push_back(conn);
        }
        for (const auto& conn : all) {
            conn->End();
        }
        m_work.reset();
    });
}

void ServerCore::PostSend(const std::vector<SOCKET>& socks, std::shared_ptr<const FrameBuffer> frame)
{
    asio::post(m_io, [this, socks, frame = std::move(frame)] {
        for (SOCKET s : socks) {
            if (const std::shared_ptr<Connection> conn = Find(s)) {
                conn->Send(frame);
            } else {
                WriteLog(LogText::SendError(asio::error::bad_descriptor));
            }
        }
    });
}

void ServerCore::PostClose(SOCKET s, std::chrono::milliseconds delay)
{
    asio::post(m_io, [this, s, delay] {
        if (const std::shared_ptr<Connection> conn = Find(s)) {
            conn->CloseAfter(delay);
        } else {
            m_queue.ConnectionEnded(s);
        }
    });
}

void ServerCore::PostMessageHandled(SOCKET s)
{
    asio::post(m_io, [this, s] {
        if (const std::shared_ptr<Connection> conn = Find(s)) {
            conn->MessageHandled();
        }
    });
}
