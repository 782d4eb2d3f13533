#pragma once
// The display's TCP server: an I/O thread running the Asio io_context (accepts, reads,
// writes, timers) and a processing thread that hands the parsed messages to the
// processor one at a time, in arrival order.
//
// What the main window uses (all from the window thread unless said otherwise):
//
//   class CDisplayCore : public CTipProcBase_IOCP_bc { ... };
//   m_pServer = std::make_unique<CIOCPclass2016BC>();
//   m_pServer->SetListenRules(rules);     // optional: address, allowed senders
//   m_pServer->CreateField(9977, this);   // 1 = listening; 0 = failed (logged, and the
//                                         // message box "无法建立socket监听。。。" shown)
//   m_pServer->ListeningPort();           // the port listened on (CreateField(0, ..)
//                                         // picks a free one); 0 when not listening
//   StopServer();                         // first thing in ~CDisplayCore, and in the
//                                         // window's destructor: the stop; m_pServer
//                                         // stays valid for the hooks until
//                                         // every thread has ended
//
// From OnMessage, on the processing thread:
//
//   m_pServer->SendMsg({s}, reply);       // queues the frame on each connection
//   m_pServer->CloseConnection(s, 50ms);  // ends s 50 ms from now, once every reply
//                                         // queued on it has been handed to the socket;
//                                         // frames of s still queued are dropped at once
//
// Connection ids (SOCKET, net/socket_id.h) are never reused; sending to or closing an
// id that has ended does nothing (a send logs "WSASend ERROR:").
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/listen_rules.h"
#include "net/proc_base.h"
#include "net/receive_queue.h"
#include "net/socket_id.h"

class CommMsg_base;
class ServerCore;

class CIOCPclass2016BC {
public:
    CIOCPclass2016BC();
    // Stops the server if it still runs.
    ~CIOCPclass2016BC();
    CIOCPclass2016BC(const CIOCPclass2016BC&) = delete;
    CIOCPclass2016BC& operator=(const CIOCPclass2016BC&) = delete;

    // Before CreateField.
    void SetListenRules(ListenRules rules) { m_rules = std::move(rules); }
    // Starts listening. Port 0 takes any free port.
    int CreateField(int port, CProcBase_tq* proc);
    int ListeningPort() const { return m_nListeningPort.load(); }

    // Sends the message's frame, written whole, to each connection. Returns at once; it
    // leaves after the frames queued on the connection before it.
    void SendMsg(const std::vector<SOCKET>& socks, const CommMsg_base& msg);
    // Shuts the connection down in both directions and closes it, once the delay has
    // passed (a timer of the connection: the caller does not wait) and the sends queued
    // on it have been handed to the socket. Its frames still queued are dropped now. A
    // second call that would close it sooner replaces the first; a later one is ignored,
    // so a long delay holds a connection open for a reply that comes from elsewhere.
    void CloseConnection(SOCKET s, std::chrono::milliseconds delay = std::chrono::milliseconds::zero());

    // The stop: ends and joins every thread before anything they use is freed. While it
    // runs the processor's hooks may still be called and may still use this object;
    // afterwards nothing is called. A second call does nothing.
    void Stop();

    // Observers for diagnostics, the display's status and tests.
    int ConnectionCount() const;
    std::uint64_t FramesRejected() const;
    std::uint64_t PeersRefused() const;
    std::size_t QueuedMessageCount() const { return m_queue.Count(); }

private:
    void ProcThread();

    ListenRules m_rules;
    CProcBase_tq* m_pProc = nullptr;
    ReceiveQueue m_queue;
    std::unique_ptr<ServerCore> m_pCore;
    std::atomic<int> m_nListeningPort{0};
    std::thread m_hIoThread;
    std::thread m_hProcThread;
};
