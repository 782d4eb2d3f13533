#include "net/conn_list.h"

#include <gtest/gtest.h>

#include <memory>

#include "net/io_context.h"
#include "platform/clock.h"

namespace {

// Contexts as the worker leaves them: pending, connected, or connected with data.
IoContext* AddContext(CConnList& list, SOCKET s, std::uint8_t flags)
{
    auto ctx = std::make_unique<IoContext>();
    ctx->Reset();
    ctx->m_sock = s;
    ctx->m_flags = flags;
    return list.Append(std::move(ctx));
}

struct IdleCase {
    const char* name;
    std::uint8_t flags;
    std::int64_t idleSeconds;
    bool collected;
};

class IdleConnections : public testing::TestWithParam<IdleCase> {
protected:
    void TearDown() override { Clock::UseSystemTime(); }
};

TEST_P(IdleConnections, CollectsOnlyConnectionsPastTheirLimit)
{
    const IdleCase& c = GetParam();
    Clock::Set(DateTime::FromLocal(2026, 3, 1, 8, 0, 0));
    CConnList list;
    AddContext(list, 5, c.flags);
    Clock::Advance(c.idleSeconds);
    std::vector<SOCKET> socks{123};
    list.CollectIdleConnections(socks);
    EXPECT_EQ(socks, c.collected ? std::vector<SOCKET>{5} : std::vector<SOCKET>{});
}

constexpr std::uint8_t kConnected = IoContext::kConnected;
constexpr std::uint8_t kWithData = IoContext::kConnected | IoContext::kDataReceived;

INSTANTIATE_TEST_SUITE_P(
    Cases, IdleConnections,
    testing::Values(IdleCase{"SilentFor119Seconds", kConnected, 119, false},
                    IdleCase{"SilentForExactlyTwoMinutes", kConnected, 120, false},
                    IdleCase{"SilentFor121Seconds", kConnected, 121, true},
                    IdleCase{"DataThen5h59m", kWithData, 5 * 3600 + 59 * 60, false},
                    IdleCase{"DataThen6h01m", kWithData, 6 * 3600 + 60, true},
                    IdleCase{"AcceptPendingForAWeek", 0, 7 * 86400, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConnList, FindsConnectionsByIdAndCountsPendingAccepts)
{
    CConnList list;
    AddContext(list, 1, 0);
    IoContext* two = AddContext(list, 2, kConnected);
    AddContext(list, 3, 0);
    EXPECT_EQ(list.FindConnection(2), two);
    EXPECT_EQ(list.FindConnection(1), nullptr);  // not connected yet
    EXPECT_EQ(list.PendingAccepts(), 2);
    EXPECT_EQ(list.Connections(), std::vector<IoContext*>{two});
}

TEST(ConnList, RemovesOnlyContextsItHolds)
{
    CConnList list;
    IoContext* held = AddContext(list, 1, kConnected);
    IoContext stranger;
    list.RemoveConnection(&stranger);
    EXPECT_EQ(list.Count(), 1u);
    list.RemoveConnection(held);
    EXPECT_EQ(list.Count(), 0u);
}

}  // namespace
