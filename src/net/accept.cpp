#include <cerrno>
#include <chrono>

#include "completion_port.h"
#include "conn_list.h"
#include "io_context.h"
#include "net/diag_log.h"
#include "net/log_texts.h"
#include "platform/clock.h"

namespace {

constexpr int kAcceptBatch = 10;
constexpr int kSocketBufferBytes = 262144;
constexpr auto kAcceptWait = std::chrono::milliseconds(10000);

// The accept itself creates the connection's socket here, so this is where the system
// runs out of them.
bool IsOutOfSockets(int error)
{
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

}  // namespace

// Posts ten more accepts. Runs on the worker, which owns the sockets. A failure is for
// good (the server is stopping or the listening socket has closed), so a batch cut short
// is never resumed.
int CIOCPclass2016BC::PostAcceptBatch()
{
    for (int i = 0; i < kAcceptBatch; ++i) {
        if (m_hCOP->bExiting || !m_hCOP->acceptor.is_open()) {
            WriteLog(LogText::WithCode(LogText::kAcceptExFailed, EBADF));
            return 0;
        }
        auto fresh = std::make_unique<IoContext>();
        fresh->Reset();
        fresh->m_sock = NewSocketId();
        fresh->m_pSocket = std::make_unique<asio::ip::tcp::socket>(m_hCOP->io);
        IoContext* ctx = m_connList->Append(std::move(fresh));
        m_hCOP->acceptor.async_accept(*ctx->m_pSocket,
                                      [this, ctx](const asio::error_code& ec) { OnAcceptDone(ctx, ec.value()); });
        ++m_hCOP->nAcceptsInFlight;
    }
    return 1;
}

void CIOCPclass2016BC::AcceptThread()
{
    for (;;) {
        switch (m_hAcceptEvent.Wait(kAcceptWait)) {
        case AcceptEvent::WaitResult::Timeout:
            break;
        case AcceptEvent::WaitResult::Signalled:
            CallOnWorker([this] { return PostAcceptBatch(); });
            WriteLog(LogText::kNewAcceptBatch);
            break;
        case AcceptEvent::WaitResult::Closed:
            PostExit();
            return;
        }
    }
}

void CIOCPclass2016BC::OnAcceptDone(IoContext* ctx, int error)
{
    --m_hCOP->nAcceptsInFlight;
    if (IsOutOfSockets(error)) {
        WriteLog(LogText::kAcceptSocketFailed);
    }
    if (error != 0 || m_hCOP->bExiting) {
        EndConnection(ctx);
        WatchForWaitingConnection();
        return;
    }
    ctx->m_flags |= IoContext::kConnected;
    ctx->m_tActive = Clock::Now();
    WriteLog(LogText::Accepted(static_cast<long long>(ctx->m_sock)));
    asio::error_code ignored;
    ctx->m_pSocket->set_option(asio::socket_base::receive_buffer_size(kSocketBufferBytes), ignored);
    ctx->m_pSocket->set_option(asio::socket_base::send_buffer_size(kSocketBufferBytes), ignored);
    if (!PostRecv(ctx)) {
        EndConnection(ctx);
    }
    CloseIdleConnections();
    WatchForWaitingConnection();
}

// Once every posted accept has been used, waits for a connection to be waiting on the
// listening socket and then signals the accept event, as the system does for an accept
// that no pending accept has taken.
void CIOCPclass2016BC::WatchForWaitingConnection()
{
    CompletionPort& port = *m_hCOP;
    if (port.bExiting || port.nAcceptsInFlight > 0 || port.bWatchingListen || !port.acceptor.is_open()) {
        return;
    }
    port.bWatchingListen = true;
    port.acceptor.async_wait(asio::ip::tcp::acceptor::wait_read, [this](const asio::error_code& ec) {
        m_hCOP->bWatchingListen = false;
        if (!ec && !m_hCOP->bExiting) {
            m_hAcceptEvent.Signal();
        }
    });
}
