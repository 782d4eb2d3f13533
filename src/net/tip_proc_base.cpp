#include "tip_proc_base.h"

CTipProcBase_IOCP_bc::~CTipProcBase_IOCP_bc()
{
    StopServer();
}

// The hooks may use m_pServer until the stop has joined the server's threads, so it
// points at the server until then.
void CTipProcBase_IOCP_bc::StopServer()
{
    if (m_pServer) {
        m_pServer->Stop();
        m_pServer.reset();
    }
}
