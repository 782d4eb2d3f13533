#include "net/send_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "net/io_context.h"
#include "platform/clock.h"

namespace {

std::vector<IoContext*> AcquireMany(CSendPool& pool, int n)
{
    std::vector<IoContext*> v;
    for (int i = 0; i < n; ++i) {
        v.push_back(pool.AcquireSendContext());
    }
    return v;
}

TEST(SendPool, ReusesTheFirstIdleContextAndGrowsOnlyWhenAllAreBusy)
{
    CSendPool pool;
    auto ctx = AcquireMany(pool, 4);
    EXPECT_EQ(std::set<IoContext*>(ctx.begin(), ctx.end()).size(), 4u);
    for (int i = 1; i < 4; ++i) {
        pool.ReleaseSendContext(ctx[i]);
    }
    IoContext* again = pool.AcquireSendContext();
    EXPECT_EQ(again, ctx[1]);
    EXPECT_TRUE(again->m_flags & IoContext::kInUse);
    EXPECT_EQ(pool.Count(), 4u);

    AcquireMany(pool, 2);
    EXPECT_EQ(pool.Count(), 4u);
    pool.AcquireSendContext();
    EXPECT_EQ(pool.Count(), 5u);
}

TEST(SendPool, AcquiredContextIsFresh)
{
    CSendPool pool;
    IoContext* ctx = pool.AcquireSendContext();
    ctx->m_buf[0] = 0x55;
    ctx->m_sock = 42;
    ctx->m_nBufLen = 7;
    pool.ReleaseSendContext(ctx);
    ASSERT_EQ(pool.AcquireSendContext(), ctx);
    EXPECT_EQ(ctx->m_buf[0], 0);
    EXPECT_EQ(ctx->m_sock, INVALID_SOCKET);
    EXPECT_EQ(ctx->m_nBufLen, IoContext::kBufSize);
}

TEST(SendPool, TrimKeepsTheIdleContextsNearestTheTailAndEveryBusyOne)
{
    CSendPool pool;
    auto ctx = AcquireMany(pool, 130);
    // 30 contexts spread over the whole pool stay busy; the other 100 are released.
    std::vector<IoContext*> busy;
    std::vector<IoContext*> idle;
    for (int i = 0; i < 130; ++i) {
        if (i % 13 < 3) {
            busy.push_back(ctx[i]);
        } else {
            idle.push_back(ctx[i]);
            pool.ReleaseSendContext(ctx[i]);
        }
    }
    ASSERT_EQ(busy.size(), 30u);
    ASSERT_EQ(idle.size(), 100u);

    pool.TrimSendPool();
    EXPECT_EQ(pool.Count(), 62u);

    // The survivors are the 32 idle ones nearest the tail: acquiring 32 hands out exactly
    // those, and only the 33rd needs a new context.
    const std::set<IoContext*> tail(idle.end() - 32, idle.end());
    const auto reused = AcquireMany(pool, 32);
    EXPECT_EQ(std::set<IoContext*>(reused.begin(), reused.end()), tail);
    EXPECT_EQ(pool.Count(), 62u);
    pool.AcquireSendContext();
    EXPECT_EQ(pool.Count(), 63u);
    // The busy ones were never touched.
    for (IoContext* c : busy) {
        EXPECT_TRUE(c->m_flags & IoContext::kInUse);
    }
}

TEST(SendPool, CollectsEachConnectionWithASendStuckForMoreThanTwoMinutesOnce)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 1, 12, 0, 0));
    CSendPool pool;
    auto ctx = AcquireMany(pool, 4);
    ctx[0]->m_sock = 7;
    ctx[1]->m_sock = 7;
    ctx[2]->m_sock = 9;
    ctx[3]->m_sock = 11;
    pool.ReleaseSendContext(ctx[3]);  // idle contexts are never stuck

    std::vector<SOCKET> socks{99};
    Clock::Advance(120);
    pool.CollectStuckSends(socks);
    EXPECT_TRUE(socks.empty());

    Clock::Advance(1);
    pool.CollectStuckSends(socks);
    EXPECT_EQ(socks, (std::vector<SOCKET>{7, 9}));
    Clock::UseSystemTime();
}

}  // namespace
