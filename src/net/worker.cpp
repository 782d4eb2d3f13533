#include "completion_port.h"
#include "conn_list.h"
#include "io_context.h"
#include "net/diag_log.h"
#include "net/frame_cutter.h"
#include "net/frame_limits.h"
#include "net/log_texts.h"
#include "platform/clock.h"
#include "send_pool.h"

void CIOCPclass2016BC::WorkerThread()
{
    m_hCOP->io.run();
}

int CIOCPclass2016BC::PostRecv(IoContext* ctx)
{
    if (m_hCOP->bExiting || !ctx->m_pSocket->is_open()) {
        return 0;
    }
    ctx->m_pSocket->async_read_some(asio::buffer(ctx->m_buf.data(), static_cast<std::size_t>(ctx->m_nBufLen)),
                                    [this, ctx](const asio::error_code& ec, std::size_t bytes) {
                                        OnRecvDone(ctx, ec.value(), bytes);
                                    });
    return 1;
}

void CIOCPclass2016BC::OnRecvDone(IoContext* ctx, int error, std::size_t bytes)
{
    if (error != 0 || bytes == 0) {
        EndConnection(ctx);
        return;
    }
    const std::size_t before = ctx->m_stream.Size();
    ctx->m_stream.Append(ctx->m_buf.data(), bytes);
    ctx->m_flags |= IoContext::kDataReceived;
    ctx->m_tActive = Clock::Now();
    CutFrames(ctx->m_stream, ctx->m_sock, m_queue);
    m_nStreamBytes = m_nStreamBytes - before + ctx->m_stream.Size();
    if (FrameLimit::StreamTooLarge(ctx->m_stream.Data(), ctx->m_stream.Size())) {
        WriteLog(LogText::FrameTooLarge(ctx->m_sock));
        EndConnection(ctx);
        return;
    }
    if (static_cast<std::int64_t>(m_nStreamBytes + m_queue.Bytes()) > FrameLimit::kMaxHeldBytes) {
        WriteLog(LogText::HeldTooMuch(ctx->m_sock));
        EndConnection(ctx);
        return;
    }
    if (!PostRecv(ctx)) {
        EndConnection(ctx);
    }
}

// The context is freed here, so this runs only from the completion of the operation that
// is pending on it; anyone else ends a connection by closing its socket.
void CIOCPclass2016BC::EndConnection(IoContext* ctx)
{
    const SOCKET s = ctx->m_sock;
    const bool connected = (ctx->m_flags & IoContext::kConnected) != 0;
    m_nStreamBytes -= ctx->m_stream.Size();
    ctx->m_stream.Clear();
    ReleaseWaitingSends(ctx);
    ctx->ShutdownAndClose();
    if (ctx->m_bSending) {
        ctx->m_bEnded = true;
    } else {
        m_connList->RemoveConnection(ctx);
    }
    if (connected) {
        OnConnClosed(s);
    }
}

// Gives back the chunks that were waiting behind the one being written; that one comes
// back through its own completion.
void CIOCPclass2016BC::ReleaseWaitingSends(IoContext* conn)
{
    auto& waiting = conn->m_sendQueue;
    const std::size_t first = conn->m_bSending ? 1 : 0;
    for (std::size_t i = first; i < waiting.size(); ++i) {
        m_sendPool->ReleaseSendContext(waiting[i]);
    }
    waiting.resize(std::min(first, waiting.size()));
}

void CIOCPclass2016BC::OnConnClosed(SOCKET s)
{
    m_queue.ConnectionEnded(s);
    if (m_pProc != nullptr) {
        m_pProc->OnSocketClosed(s);
    }
}

// Closing a socket makes its pending operations complete as failed, and their
// completions free or release the contexts.
void CIOCPclass2016BC::CloseIdleConnections()
{
    std::vector<SOCKET> socks;
    const auto closeAll = [&] {
        for (SOCKET s : socks) {
            if (IoContext* conn = m_connList->FindConnection(s)) {
                conn->ShutdownAndClose();
            }
        }
    };
    m_sendPool->CollectStuckSends(socks);
    closeAll();
    m_connList->CollectIdleConnections(socks);
    closeAll();
}
