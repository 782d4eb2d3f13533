#include "tip_proc_base.h"

CTipProcBase_IOCP_bc::~CTipProcBase_IOCP_bc()
{
    StopServer();
}

void CTipProcBase_IOCP_bc::StopServer()
{
    m_pServer.reset();
}
