#include "server.h"

#include <system_error>

#include "msg/frame_buffer.h"
#include "net/diag_log.h"
#include "net/log_texts.h"
#include "os/broken_pipe.h"
#include "os/message_box.h"
#include "server_core.h"

namespace {

constexpr const char16_t* kCannotListen = u"无法建立socket监听。。。";

}  // namespace

CIOCPclass2016BC::CIOCPclass2016BC() = default;

CIOCPclass2016BC::~CIOCPclass2016BC()
{
    Stop();
}

int CIOCPclass2016BC::CreateField(int port, CProcBase_tq* proc)
{
    // A peer, or a reader of standard error, that goes away must not end the display.
    IgnoreBrokenPipe();
    m_pProc = proc;
    const asio::ip::address address = m_rules.address.value_or(asio::ip::address_v4::any());
    auto core = std::make_unique<ServerCore>(m_queue, proc, m_rules.allowed);
    const int listening = core->Listen(address, port);
    if (listening == 0) {
        ShowMessageBox(kCannotListen);
        return 0;
    }
    m_pCore = std::move(core);
    try {
        m_hIoThread = std::thread([this] { m_pCore->Run(); });
    } catch (const std::system_error& e) {
        WriteLog(LogText::WithCode(LogText::kCreatePortFailed, e.code().value()));
        m_pCore.reset();
        ShowMessageBox(kCannotListen);
        return 0;
    }
    m_nListeningPort = listening;
    try {
        m_hProcThread = std::thread([this] { ProcThread(); });
    } catch (const std::system_error& e) {
        WriteLog(LogText::WithCode(LogText::kProcThreadFailed, e.code().value()));
    }
    return 1;
}

// Hands over every message queued before the stop, once its connection is still there.
void CIOCPclass2016BC::ProcThread()
{
    while (std::optional<QueuedMessage> msg = m_queue.Wait()) {
        if (m_pProc != nullptr) {
            m_pProc->OnMessage(msg->m_sock, msg->m_pMsg.get());
        }
        const SOCKET s = msg->m_sock;
        msg.reset();
        m_queue.Finished();
        m_pCore->PostMessageHandled(s);
    }
}

void CIOCPclass2016BC::SendMsg(const std::vector<SOCKET>& socks, const CommMsg_base& msg)
{
    auto frame = std::make_shared<FrameBuffer>();
    frame->FromMessage(msg);
    if (frame->Length() <= 0 || !m_pCore) {
        return;
    }
    m_pCore->PostSend(socks, std::move(frame));
}

void CIOCPclass2016BC::CloseConnection(SOCKET s, std::chrono::milliseconds delay)
{
    m_queue.CloseConnection(s);
    if (m_pCore) {
        m_pCore->PostClose(s, delay);
    }
}

// Its log lines keep their order; each thread is ended and joined before anything it
// uses goes away.
void CIOCPclass2016BC::Stop()
{
    if (m_hIoThread.joinable()) {
        WriteLog(LogText::kPostExit);
        m_pCore->PostStop();
        m_hIoThread.join();
    }
    if (m_nListeningPort != 0) {
        m_nListeningPort = 0;
        WriteLog(LogText::kListenClosed);
    }
    m_queue.Stop();
    if (m_hProcThread.joinable()) {
        m_hProcThread.join();
    }
    if (m_pCore) {
        m_pCore.reset();
        WriteLog(LogText::kPortClosed);
    }
}

int CIOCPclass2016BC::ConnectionCount() const
{
    return m_pCore ? m_pCore->ConnectionCount() : 0;
}

std::uint64_t CIOCPclass2016BC::FramesRejected() const
{
    return m_pCore ? m_pCore->FramesRejected() : 0;
}

std::uint64_t CIOCPclass2016BC::PeersRefused() const
{
    return m_pCore ? m_pCore->PeersRefused() : 0;
}
