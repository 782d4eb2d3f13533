#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <asio/write.hpp>

#include "completion_port.h"
#include "conn_list.h"
#include "io_context.h"
#include "msg/comm_msg.h"
#include "net/diag_log.h"
#include "net/log_texts.h"
#include "send_pool.h"

namespace {

constexpr auto kQueuePoll = std::chrono::milliseconds(3);

}  // namespace

// Drains the queue one frame at a time and looks at the stop flag only once it has found
// the queue empty, so every frame queued before the stop is still handed over.
void CIOCPclass2016BC::ProcThread()
{
    for (;;) {
        if (std::optional<QueuedFrame> frame = m_queue.Take()) {
            ProcessFrame(*frame);
            continue;
        }
        if (m_bStop) {
            return;
        }
        std::this_thread::sleep_for(kQueuePoll);
    }
}

void CIOCPclass2016BC::ProcessFrame(const QueuedFrame& frame)
{
    CommMsg_base msg;
    if (frame.m_frame.ToMessage(msg) && m_pProc != nullptr) {
        m_pProc->OnMessage(frame.m_sock, &msg);
    }
}

// Copies the frame into pooled chunks on the calling thread and hands each connection's
// chunks to the worker in one piece, so they go out in order and whole.
void CIOCPclass2016BC::SendMsg(const std::vector<SOCKET>& socks, const CommMsg_base& msg)
{
    FrameBuffer frame;
    frame.FromMessage(msg);
    if (frame.Length() <= 0 || !m_hCOP) {
        return;
    }
    for (SOCKET s : socks) {
        std::vector<IoContext*> chunks;
        for (int offset = 0; offset < frame.Length();) {
            const int size = std::min(IoContext::kBufSize, frame.Length() - offset);
            IoContext* chunk = m_sendPool->AcquireSendContext();
            chunk->m_sock = s;
            std::memcpy(chunk->m_buf.data(), frame.Bytes() + offset, static_cast<std::size_t>(size));
            chunk->m_nBufLen = size;
            chunks.push_back(chunk);
            offset += size;
        }
        asio::post(m_hCOP->io, [this, s, chunks = std::move(chunks)]() mutable { QueueSends(s, std::move(chunks)); });
    }
}

void CIOCPclass2016BC::QueueSends(SOCKET s, std::vector<IoContext*> chunks)
{
    IoContext* conn = m_connList->FindConnection(s);
    if (conn == nullptr || !conn->m_pSocket->is_open()) {
        for (IoContext* chunk : chunks) {
            m_sendPool->ReleaseSendContext(chunk);
        }
        WriteLog(LogText::SendError(EBADF));
        return;
    }
    conn->m_sendQueue.insert(conn->m_sendQueue.end(), chunks.begin(), chunks.end());
    if (!conn->m_bSending) {
        StartNextSend(conn);
    }
}

void CIOCPclass2016BC::StartNextSend(IoContext* conn)
{
    IoContext* chunk = conn->m_sendQueue.front();
    conn->m_bSending = true;
    asio::async_write(*conn->m_pSocket,
                      asio::buffer(chunk->m_buf.data(), static_cast<std::size_t>(chunk->m_nBufLen)),
                      [this, conn, chunk](const asio::error_code& ec, std::size_t bytes) {
                          OnSendDone(conn, chunk, ec.value(), bytes);
                      });
}

// A connection that ends while a write is in flight stays in the list until here, so conn
// is still valid.
void CIOCPclass2016BC::OnSendDone(IoContext* conn, IoContext* chunk, int error, std::size_t bytes)
{
    m_sendPool->ReleaseSendContext(chunk);
    conn->m_sendQueue.pop_front();
    conn->m_bSending = false;
    if (conn->m_bEnded) {
        m_connList->RemoveConnection(conn);
        return;
    }
    if (error != 0 || bytes == 0) {
        if (m_sendPool->Count() > CSendPool::kTrimAbove) {
            m_sendPool->TrimSendPool();
        }
        ReleaseWaitingSends(conn);
        conn->ShutdownAndClose();
        return;
    }
    if (!conn->m_sendQueue.empty()) {
        StartNextSend(conn);
    } else if (conn->m_bCloseAfterSends) {
        conn->ShutdownAndClose();
    }
}

void CIOCPclass2016BC::CloseConnection(SOCKET s)
{
    m_queue.CloseConnection(s);
    if (m_hCOP) {
        asio::post(m_hCOP->io, [this, s] { CloseAfterSends(s); });
    }
}

void CIOCPclass2016BC::CloseAfterSends(SOCKET s)
{
    IoContext* conn = m_connList->FindConnection(s);
    if (conn == nullptr) {
        m_queue.ConnectionEnded(s);
        return;
    }
    if (conn->m_bSending) {
        conn->m_bCloseAfterSends = true;
    } else {
        conn->ShutdownAndClose();
    }
}
