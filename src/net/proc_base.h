#pragma once
#include "net/socket_id.h"

class CommMsg_base;

// What the server hands its messages and connection ends to. The server holds it as a
// plain pointer and does not own it; it must outlive the server's threads.
class CProcBase_tq {
public:
    virtual ~CProcBase_tq() = default;

    // A connection has ended and every frame of it still queued has been dropped.
    // Called on the completion worker thread, so it may run while OnMessage runs.
    virtual void OnSocketClosed(SOCKET) {}

    // One accepted message whose "pub_MsgID" is 1 or more, in the order the frames were
    // cut from the streams. Called on the processing thread, one call at a time; the
    // message belongs to the caller and lives only during the call. The processor may
    // answer with the server's SendMsg and end the connection with CloseConnection.
    virtual void OnMessage(SOCKET, CommMsg_base*) {}
};
