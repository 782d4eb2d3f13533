#include "send_pool.h"

#include <algorithm>

#include "io_context.h"
#include "net/idle_limits.h"
#include "platform/clock.h"

CSendPool::CSendPool() = default;
CSendPool::~CSendPool() = default;

IoContext* CSendPool::AcquireSendContext()
{
    std::lock_guard lock(m_mtx);
    auto it = std::find_if(m_list.begin(), m_list.end(),
                           [](const auto& ctx) { return !(ctx->m_flags & IoContext::kInUse); });
    IoContext* ctx = nullptr;
    if (it != m_list.end()) {
        ctx = it->get();
    } else {
        m_list.push_back(std::make_unique<IoContext>());
        ctx = m_list.back().get();
    }
    ctx->Reset();
    ctx->m_flags |= IoContext::kInUse;
    return ctx;
}

void CSendPool::ReleaseSendContext(IoContext* ctx)
{
    std::lock_guard lock(m_mtx);
    ctx->m_flags &= static_cast<std::uint8_t>(~IoContext::kInUse);
}

void CSendPool::TrimSendPool()
{
    std::lock_guard lock(m_mtx);
    std::size_t idleSeen = 0;
    for (auto it = m_list.end(); it != m_list.begin();) {
        --it;
        if ((*it)->m_flags & IoContext::kInUse) {
            continue;
        }
        if (++idleSeen > kKeptIdle) {
            it = m_list.erase(it);
        }
    }
}

void CSendPool::CollectStuckSends(std::vector<SOCKET>& socks) const
{
    socks.clear();
    const DateTime now = Clock::Now();
    std::lock_guard lock(m_mtx);
    for (const auto& ctx : m_list) {
        if ((ctx->m_flags & IoContext::kInUse) && DaysBetween(ctx->m_tActive, now) > IdleLimit::kShortDays &&
            std::find(socks.begin(), socks.end(), ctx->m_sock) == socks.end()) {
            socks.push_back(ctx->m_sock);
        }
    }
}

std::size_t CSendPool::Count() const
{
    std::lock_guard lock(m_mtx);
    return m_list.size();
}
