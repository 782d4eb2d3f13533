#include "io_context.h"

#include "platform/clock.h"

void IoContext::Reset()
{
    m_buf.fill(0);
    m_nBufLen = kBufSize;
    m_sock = INVALID_SOCKET;
    m_flags = 0;
    m_tActive = Clock::Now();
    m_stream.Clear();
    m_pSocket.reset();
    m_sendQueue.clear();
    m_bSending = false;
    m_bCloseAfterSends = false;
    m_bEnded = false;
}

void IoContext::ShutdownAndClose()
{
    if (!m_pSocket || !m_pSocket->is_open()) {
        return;
    }
    asio::error_code ignored;
    m_pSocket->shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_pSocket->close(ignored);
}
