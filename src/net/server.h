#pragma once
// The display's TCP server: one completion worker running the Asio io_context, an accept
// thread that tops up the pending accepts, and a processing thread that hands queued
// frames to the processor.
//
// What the main window uses (all from the window thread unless said otherwise):
//
//   class CMainFrame : public QWidget, public CTipProcBase_IOCP_bc { ... };
//   m_pServer = std::make_unique<CIOCPclass2016BC>();
//   m_pServer->CreateField(9977, this);   // 1 = listening; 0 = failed (logged, and the
//                                         // message box "无法建立socket监听。。。" shown)
//   m_pServer->ListeningPort();           // the port listened on (CreateField(0, ..)
//                                         // picks a free one); 0 when not listening
//   StopServer();                         // first thing in ~CMainFrame: the stop;
//                                         // m_pServer stays valid for the hooks until
//                                         // every thread has ended
//
// From OnMessage, on the processing thread:
//
//   m_pServer->SendMsg({s}, reply);       // queues the frame on each connection
//   m_pServer->CloseConnection(s);        // ends s once every reply queued on it has
//                                         // been handed to the socket; frames of s
//                                         // still queued are dropped at once
//
// Connection ids (SOCKET, net/socket_id.h) are never reused; sending to or closing an
// id that has ended does nothing (a send logs "WSASend ERROR:").
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

#include "net/accept_event.h"
#include "net/proc_base.h"
#include "net/receive_queue.h"
#include "net/socket_id.h"

class CommMsg_base;
class CConnList;
class CSendPool;
struct CompletionPort;
struct IoContext;

class CIOCPclass2016BC {
public:
    CIOCPclass2016BC();
    // Stops the server if it still runs.
    ~CIOCPclass2016BC();
    CIOCPclass2016BC(const CIOCPclass2016BC&) = delete;
    CIOCPclass2016BC& operator=(const CIOCPclass2016BC&) = delete;

    // Starts listening on every local IPv4 address. Port 0 takes any free port.
    int CreateField(int port, CProcBase_tq* proc);
    int ListeningPort() const { return m_nListeningPort.load(); }

    // Sends the message's frame to each connection, in chunks of at most 32766 bytes.
    // Returns once the chunks are queued; they leave in order, after earlier ones.
    void SendMsg(const std::vector<SOCKET>& socks, const CommMsg_base& msg);
    // Shuts the connection down in both directions and closes it, after the sends
    // already queued on it have been handed to the socket.
    void CloseConnection(SOCKET s);

    // The stop: ends and joins every thread before anything they use is freed. While it
    // runs the processor's hooks may still be called and may still use this object;
    // afterwards nothing is called. A second call does nothing.
    void Stop();

    // Observers for diagnostics and tests; the first two ask the worker and wait for it.
    int PendingAcceptCount();
    int ConnectionCount();
    std::size_t QueuedFrameCount() const { return m_queue.Count(); }
    std::size_t SendPoolSize() const;

private:
    int InitIOCP(int port);
    int InitListenSocket();
    int BindAndListen();

    int PostAcceptBatch();
    void AcceptThread();
    void OnAcceptDone(IoContext* ctx, int error);
    void WatchForWaitingConnection();

    void WorkerThread();
    int PostRecv(IoContext* ctx);
    void OnRecvDone(IoContext* ctx, int error, std::size_t bytes);
    void EndConnection(IoContext* ctx);
    void OnConnClosed(SOCKET s);
    void CloseIdleConnections();
    void ReleaseWaitingSends(IoContext* conn);

    void ProcThread();
    void ProcessFrame(const QueuedFrame& frame);
    void QueueSends(SOCKET s, std::vector<IoContext*> chunks);
    void StartNextSend(IoContext* conn);
    void OnSendDone(IoContext* conn, IoContext* chunk, int error, std::size_t bytes);
    void CloseAfterSends(SOCKET s);

    void PostExit();
    void OnExitPacket();
    template <class F>
    auto CallOnWorker(F fn);

    CProcBase_tq* m_pProc = nullptr;
    std::unique_ptr<CompletionPort> m_hCOP;
    bool m_bListenOpen = false;
    int m_nPort = 0;
    std::atomic<int> m_nListeningPort{0};
    std::thread m_hWorkerThread;
    AcceptEvent m_hAcceptEvent;
    std::thread m_hAcceptThread;
    ReceiveQueue m_queue;
    std::thread m_hProcThread;
    std::atomic<bool> m_bStop{false};
    std::unique_ptr<CConnList> m_connList;
    std::unique_ptr<CSendPool> m_sendPool;
    // Bytes in all the connections' pending streams; the completion worker alone touches it.
    std::size_t m_nStreamBytes = 0;
};
