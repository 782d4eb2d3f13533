// Connections that sit still too long are closed by their own timers, whether or not
// anyone else connects.
#include <future>
#include <memory>
#include <thread>

#include "msg/msg_ids.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

// Longer than the interval at which a connection looks at the clock.
constexpr auto kQuiet = 1500ms;

class ServerIdle : public ServerTest {
protected:
    void SetUp() override
    {
        Clock::Set(DateTime::FromLocal(2026, 5, 4, 9, 0, 0));
        ServerTest::SetUp();
    }

    // Waits until the server holds one more connection than before.
    std::unique_ptr<LoopbackClient> Connect(int receiveBuffer = 0)
    {
        const int before = server->ConnectionCount();
        auto c = std::make_unique<LoopbackClient>(port, receiveBuffer);
        for (int i = 0; i < 2000 && server->ConnectionCount() == before; ++i) {
            std::this_thread::sleep_for(2ms);
        }
        EXPECT_EQ(server->ConnectionCount(), before + 1);
        return c;
    }
};

struct IdleCase {
    const char* name;
    bool sendsData;
    std::int64_t stillOpenAfter;
    std::int64_t closedAfter;
};

class IdleLimits : public ServerIdle, public testing::WithParamInterface<IdleCase> {};

TEST_P(IdleLimits, ConnectionIsClosedOnlyPastItsLimit)
{
    auto c = Connect();
    if (GetParam().sendsData) {
        ASSERT_TRUE(c->Send(MakeFrame(MsgJson(400))));
        ASSERT_TRUE(proc.WaitForMessages(1));
    }
    Clock::Advance(GetParam().stillOpenAfter);
    EXPECT_TRUE(c->StaysQuietFor(kQuiet));
    Clock::Advance(GetParam().closedAfter - GetParam().stillOpenAfter);
    c->ReadUntilClosed();
    EXPECT_TRUE(c->PeerClosed());
    EXPECT_TRUE(proc.WaitForClosed(1));
}

INSTANTIATE_TEST_SUITE_P(Cases, IdleLimits,
                         testing::Values(IdleCase{"SilentTwoMinutes", false, 119, 121},
                                         IdleCase{"AfterDataSixHours", true, 5 * 3600 + 59 * 60, 6 * 3600 + 60}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerIdle, ReplyStuckForMoreThanTwoMinutesEndsItsConnection)
{
    // More than the socket buffers of both ends hold, to a peer that never reads.
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    const Bytes big(4 * 1024 * 1024, 0x42);
    reply.SetAttachment(big.data(), static_cast<int>(big.size()));
    std::promise<void> sent;
    proc.SetOnMessage([this, &reply, &sent](SOCKET s, CommMsg_base&) {
        server->SendMsg({s}, reply);
        sent.set_value();
    });
    auto sleeper = Connect(4096);
    ASSERT_TRUE(sleeper->Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
    sent.get_future().wait();
    // The first bytes show the reply is being written.
    ASSERT_EQ(sleeper->ReadExactly(100).size(), 100u);

    Clock::Advance(120);
    std::this_thread::sleep_for(kQuiet);
    EXPECT_TRUE(proc.Closed().empty());
    Clock::Advance(1);
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(proc.Closed()[0], proc.Messages()[0].s);
}

}  // namespace
