#include "connection.h"

#include <asio/error.hpp>
#include <asio/write.hpp>

#include "net/diag_log.h"
#include "net/frame_cutter.h"
#include "msg/frame_limits.h"
#include "net/idle_limits.h"
#include "net/log_texts.h"
#include "os/clock.h"
#include "server_core.h"

namespace {

// How often a connection looks at the clock for its idle limits. The limits are
// minutes and hours, read from the injected clock, so a second is precise enough.
constexpr auto kIdleCheckPeriod = std::chrono::seconds(1);

}  // namespace

Connection::Connection(ServerCore& core, asio::ip::tcp::socket socket, SOCKET id)
    : m_core(core),
      m_socket(std::move(socket)),
      m_idleTimer(m_socket.get_executor()),
      m_closeTimer(m_socket.get_executor()),
      m_id(id),
      m_tActive(Clock::Now())
{
}

void Connection::Start()
{
    Read();
    ArmIdleCheck();
}

void Connection::Read()
{
    m_socket.async_read_some(asio::buffer(m_readBuf),
                             [self = shared_from_this()](const asio::error_code& ec, std::size_t bytes) {
                                 self->OnRead(ec, bytes);
                             });
}

void Connection::OnRead(const asio::error_code& ec, std::size_t bytes)
{
    if (m_bEnded) {
        return;
    }
    if (ec == asio::error::eof) {
        OnPeerShutdown();
        return;
    }
    if (ec) {
        End();
        return;
    }
    TakeBytes(bytes);
}

void Connection::TakeBytes(std::size_t bytes)
{
    const std::size_t before = m_stream.Size();
    m_stream.Append(m_readBuf.data(), bytes);
    m_bDataReceived = true;
    m_tActive = Clock::Now();
    std::vector<CutMessage> cut;
    m_core.NoteRejectedFrames(m_cutter.Cut(m_stream, cut).m_nRejected);
    m_core.StreamResized(before, m_stream.Size());
    for (CutMessage& msg : cut) {
        m_core.Queue().Push({m_id, std::move(msg.m_pMsg), msg.m_nHeldBytes});
    }
    if (FrameLimit::StreamTooLarge(m_stream.Data(), m_stream.Size())) {
        WriteLog(LogText::FrameTooLarge(m_id));
        End();
        return;
    }
    if (m_core.HeldBytes() > FrameLimit::kMaxHeldBytes) {
        WriteLog(LogText::HeldTooMuch(m_id));
        End();
        return;
    }
    Read();
}

// A peer that shuts its sending side down after its frame (scripts often do) still gets
// its message handled and its reply; only the part of a frame it never finished is lost.
void Connection::OnPeerShutdown()
{
    m_bPeerShutdown = true;
    DropStream();
    FinishIfDone();
}

void Connection::Send(std::shared_ptr<const FrameBuffer> frame)
{
    if (m_bEnded) {
        return;
    }
    const auto length = static_cast<std::size_t>(frame->Length());
    // Replies are small; a peer that never reads must not make them pile up without end.
    if (static_cast<std::int64_t>(m_nOutgoingBytes + length) > FrameLimit::kMaxFrameBytes) {
        WriteLog(LogText::SendError(asio::error::no_buffer_space));
        End();
        return;
    }
    m_nOutgoingBytes += length;
    m_outgoing.push_back(std::move(frame));
    if (!m_bWriting) {
        WriteNext();
    }
}

void Connection::WriteNext()
{
    std::shared_ptr<const FrameBuffer> frame = m_outgoing.front();
    m_bWriting = true;
    m_tWriteStarted = Clock::Now();
    const asio::const_buffer bytes(frame->Bytes(), static_cast<std::size_t>(frame->Length()));
    // The handler holds the frame too, so its bytes outlive the write even if the
    // connection ends meanwhile.
    asio::async_write(m_socket, bytes,
                      [self = shared_from_this(), frame = std::move(frame)](const asio::error_code& ec, std::size_t) {
                          self->OnWritten(ec);
                      });
}

void Connection::OnWritten(const asio::error_code& ec)
{
    m_bWriting = false;
    if (m_bEnded) {
        return;
    }
    if (ec) {
        End();
        return;
    }
    m_nOutgoingBytes -= static_cast<std::size_t>(m_outgoing.front()->Length());
    m_outgoing.pop_front();
    if (!m_outgoing.empty()) {
        WriteNext();
    } else if (m_bCloseRequested) {
        End();
    } else {
        FinishIfDone();
    }
}

void Connection::CloseAfter(std::chrono::milliseconds delay)
{
    if (m_bEnded || m_bCloseRequested) {
        return;
    }
    // A close that comes sooner than the one set wins: a reply handed over before the
    // limit that held its connection open ends it 50 ms later, not at the limit.
    const auto closeAt = std::chrono::steady_clock::now() + delay;
    if (m_bCloseTimerSet && closeAt >= m_tCloseAt) {
        return;
    }
    if (delay <= std::chrono::milliseconds::zero()) {
        CloseAfterSends();
        return;
    }
    m_bCloseTimerSet = true;
    m_tCloseAt = closeAt;
    const unsigned nTimer = ++m_nCloseTimer;
    m_closeTimer.expires_after(delay);
    m_closeTimer.async_wait([self = shared_from_this(), nTimer](const asio::error_code& ec) {
        // A wait replaced by a sooner one ends here, leaving the newer one in charge.
        if (nTimer != self->m_nCloseTimer) {
            return;
        }
        self->m_bCloseTimerSet = false;
        if (!ec) {
            self->CloseAfterSends();
        }
    });
}

void Connection::CloseAfterSends()
{
    if (m_bEnded) {
        return;
    }
    m_bCloseRequested = true;
    if (!m_bWriting) {
        End();
    }
}

void Connection::MessageHandled()
{
    FinishIfDone();
}

void Connection::FinishIfDone()
{
    if (m_bEnded || !m_bPeerShutdown || m_bWriting || m_bCloseTimerSet || m_core.Queue().HasWork(m_id)) {
        return;
    }
    End();
}

void Connection::ArmIdleCheck()
{
    m_idleTimer.expires_after(kIdleCheckPeriod);
    m_idleTimer.async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (!ec && !self->m_bEnded) {
            self->CheckIdle();
        }
    });
}

// A reply stuck for more than 2 minutes, a peer silent for 2 minutes before sending
// anything or for 6 hours after: the connection ends.
void Connection::CheckIdle()
{
    const DateTime now = Clock::Now();
    const double limit = m_bDataReceived ? IdleLimit::kAfterDataDays : IdleLimit::kShortDays;
    if ((m_bWriting && DaysBetween(m_tWriteStarted, now) > IdleLimit::kShortDays) ||
        DaysBetween(m_tActive, now) > limit) {
        End();
        return;
    }
    ArmIdleCheck();
}

void Connection::DropStream()
{
    m_core.StreamResized(m_stream.Size(), 0);
    m_stream.Clear();
}

void Connection::End()
{
    if (m_bEnded) {
        return;
    }
    m_bEnded = true;
    m_idleTimer.cancel();
    m_closeTimer.cancel();
    asio::error_code ignored;
    m_socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_socket.close(ignored);
    DropStream();
    m_outgoing.clear();
    m_nOutgoingBytes = 0;
    m_core.ConnectionEnded(m_id);
}
