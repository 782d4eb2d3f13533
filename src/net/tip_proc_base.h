#pragma once
#include <memory>

#include "net/proc_base.h"
#include "net/server.h"

// The processor that owns its server. A derived class (the main window) creates the
// server into m_pServer and starts it with CreateField(port, this).
//
// The server's threads call this object's hooks until the server has stopped, so a
// derived class must call StopServer() first thing in its own destructor, before any
// of its members (the page list, its lock) go away. Calling it again does nothing.
class CTipProcBase_IOCP_bc : public CProcBase_tq {
public:
    CTipProcBase_IOCP_bc() = default;
    CTipProcBase_IOCP_bc(const CTipProcBase_IOCP_bc&) = delete;
    CTipProcBase_IOCP_bc& operator=(const CTipProcBase_IOCP_bc&) = delete;
    ~CTipProcBase_IOCP_bc() override;

    // Stops the server (joining its threads) and frees it; m_pServer becomes null, but
    // only once no hook can run any more.
    void StopServer();

    std::unique_ptr<CIOCPclass2016BC> m_pServer;
};
