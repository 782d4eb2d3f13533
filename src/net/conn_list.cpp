#include "conn_list.h"

#include <algorithm>

#include "io_context.h"
#include "net/idle_limits.h"
#include "platform/clock.h"

CConnList::CConnList() = default;

CConnList::~CConnList()
{
    for (const auto& ctx : m_list) {
        if (ctx->m_flags & IoContext::kConnected) {
            ctx->ShutdownAndClose();
        }
    }
}

IoContext* CConnList::Append(std::unique_ptr<IoContext> ctx)
{
    m_list.push_back(std::move(ctx));
    return m_list.back().get();
}

void CConnList::RemoveConnection(IoContext* ctx)
{
    const auto it = std::find_if(m_list.begin(), m_list.end(), [ctx](const auto& p) { return p.get() == ctx; });
    if (it != m_list.end()) {
        m_list.erase(it);
    }
}

IoContext* CConnList::FindConnection(SOCKET s) const
{
    for (const auto& ctx : m_list) {
        if (ctx->m_sock == s && (ctx->m_flags & IoContext::kConnected)) {
            return ctx.get();
        }
    }
    return nullptr;
}

std::vector<IoContext*> CConnList::Connections() const
{
    std::vector<IoContext*> conns;
    for (const auto& ctx : m_list) {
        if (ctx->m_flags & IoContext::kConnected) {
            conns.push_back(ctx.get());
        }
    }
    return conns;
}

void CConnList::CollectIdleConnections(std::vector<SOCKET>& socks) const
{
    socks.clear();
    const DateTime now = Clock::Now();
    for (const auto& ctx : m_list) {
        if (!(ctx->m_flags & IoContext::kConnected)) {
            continue;
        }
        const double limit =
            (ctx->m_flags & IoContext::kDataReceived) ? IdleLimit::kAfterDataDays : IdleLimit::kShortDays;
        if (DaysBetween(ctx->m_tActive, now) > limit &&
            std::find(socks.begin(), socks.end(), ctx->m_sock) == socks.end()) {
            socks.push_back(ctx->m_sock);
        }
    }
}

int CConnList::PendingAccepts() const
{
    return static_cast<int>(std::count_if(m_list.begin(), m_list.end(), [](const auto& ctx) {
        return !(ctx->m_flags & IoContext::kConnected);
    }));
}
