#include "server.h"

#include <system_error>

#include "completion_port.h"
#include "conn_list.h"
#include "io_context.h"
#include "net/diag_log.h"
#include "net/log_texts.h"
#include "platform/message_box.h"
#include "send_pool.h"

namespace {

constexpr const char16_t* kCannotListen = u"无法建立socket监听。。。";
constexpr int kListenBacklog = 1000;

}  // namespace

CIOCPclass2016BC::CIOCPclass2016BC()
    : m_connList(std::make_unique<CConnList>()), m_sendPool(std::make_unique<CSendPool>())
{
}

CIOCPclass2016BC::~CIOCPclass2016BC()
{
    Stop();
}

// Its steps and log lines keep their order, but each thread is ended and joined before
// anything it uses goes away, and each handle is closed once.
void CIOCPclass2016BC::Stop()
{
    m_bStop = true;
    if (m_hWorkerThread.joinable()) {
        asio::post(m_hCOP->io, [this] {
            for (IoContext* conn : m_connList->Connections()) {
                conn->ShutdownAndClose();
            }
        });
    }
    // The accept thread may be waiting on the worker for a batch, so it ends first.
    if (m_hAcceptThread.joinable()) {
        m_hAcceptEvent.Close();
        m_hAcceptThread.join();
    }
    if (m_hWorkerThread.joinable()) {
        WriteLog(LogText::kPostExit);
        PostExit();
        m_hWorkerThread.join();
    }
    if (m_bListenOpen) {
        m_bListenOpen = false;
        m_nListeningPort = 0;
        WriteLog(LogText::kListenClosed);
    }
    // Drains what is still queued; replies it posts now are never run, and their
    // contexts go with the pool.
    if (m_hProcThread.joinable()) {
        m_hProcThread.join();
    }
    m_sendPool.reset();
    // Its sockets belong to the port, so the list goes first.
    m_connList.reset();
    m_queue.Clear();
    if (m_hCOP) {
        m_hCOP.reset();
        WriteLog(LogText::kPortClosed);
    }
}

int CIOCPclass2016BC::CreateField(int port, CProcBase_tq* proc)
{
    m_pProc = proc;
    if (!InitIOCP(port)) {
        ShowMessageBox(kCannotListen);
        return 0;
    }
    if (!CallOnWorker([this] { return PostAcceptBatch(); })) {
        ShowMessageBox(kCannotListen);
        return 0;
    }
    try {
        m_hAcceptThread = std::thread([this] { AcceptThread(); });
    } catch (const std::system_error&) {
        // Without it the server still takes the ten connections already pending.
    }
    return 1;
}

int CIOCPclass2016BC::InitIOCP(int port)
{
    m_nPort = port;
    try {
        m_hCOP = std::make_unique<CompletionPort>();
    } catch (const std::system_error& e) {
        WriteLog(LogText::WithCode(LogText::kCreatePortFailed, e.code().value()));
        return 0;
    }
    try {
        m_hWorkerThread = std::thread([this] { WorkerThread(); });
    } catch (const std::system_error&) {
        m_hCOP.reset();
        return 0;
    }
    if (!CallOnWorker([this] { return InitListenSocket() && BindAndListen(); })) {
        PostExit();
        m_hWorkerThread.join();
        m_hCOP.reset();
        return 0;
    }
    try {
        m_hProcThread = std::thread([this] { ProcThread(); });
    } catch (const std::system_error& e) {
        WriteLog(LogText::WithCode(LogText::kProcThreadFailed, e.code().value()));
    }
    return 1;
}

int CIOCPclass2016BC::InitListenSocket()
{
    asio::error_code ec;
    m_hCOP->acceptor.open(asio::ip::tcp::v4(), ec);
    if (ec) {
        WriteLog(LogText::WithCode(LogText::kWsaSocketFailed, ec.value()));
        return 0;
    }
    m_bListenOpen = true;
    // A restarted display must get its port back while old connections sit in
    // TIME_WAIT; on this platform the option never lets two listeners share a port.
    m_hCOP->acceptor.set_option(asio::socket_base::reuse_address(true), ec);
    return 1;
}

int CIOCPclass2016BC::BindAndListen()
{
    asio::ip::tcp::acceptor& listen = m_hCOP->acceptor;
    const auto fail = [&](const char16_t* text, const asio::error_code& ec) {
        asio::error_code ignored;
        listen.close(ignored);
        m_bListenOpen = false;
        WriteLog(LogText::WithCode(text, ec.value()));
        return 0;
    };
    asio::error_code ec;
    listen.bind({asio::ip::address_v4::any(), static_cast<unsigned short>(m_nPort & 0xFFFF)}, ec);
    if (ec) {
        return fail(LogText::kBindFailed, ec);
    }
    listen.listen(kListenBacklog, ec);
    if (ec) {
        return fail(LogText::kListenFailed, ec);
    }
    m_nListeningPort = listen.local_endpoint(ec).port();
    WriteLog(LogText::Listening(m_nListeningPort));
    return 1;
}

void CIOCPclass2016BC::PostExit()
{
    asio::post(m_hCOP->io, [this] { OnExitPacket(); });
}

// Ends every operation (the listening socket closed, every connection's socket closed)
// and lets go of the worker, which then returns once their completions have run.
void CIOCPclass2016BC::OnExitPacket()
{
    if (m_hCOP->bExiting) {
        return;
    }
    m_hCOP->bExiting = true;
    asio::error_code ignored;
    m_hCOP->acceptor.close(ignored);
    for (IoContext* conn : m_connList->Connections()) {
        conn->ShutdownAndClose();
    }
    m_hCOP->work.reset();
}

int CIOCPclass2016BC::PendingAcceptCount()
{
    if (!m_hWorkerThread.joinable()) {
        return 0;
    }
    return CallOnWorker([this] { return m_connList->PendingAccepts(); });
}

int CIOCPclass2016BC::ConnectionCount()
{
    if (!m_hWorkerThread.joinable()) {
        return 0;
    }
    return CallOnWorker([this] { return static_cast<int>(m_connList->Connections().size()); });
}

std::size_t CIOCPclass2016BC::SendPoolSize() const
{
    return m_sendPool ? m_sendPool->Count() : 0;
}
