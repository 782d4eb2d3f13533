// Replies through SendMsg, and closing connections from the processor.
#include <atomic>
#include <future>
#include <thread>

#include <asio/error.hpp>

#include "msg/msg_ids.h"
#include "net/log_texts.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

class ServerSend : public ServerTest {};

// A 309 reply padded with a title so that its whole frame is `length` bytes.
void BuildReply(CommMsg_base& reply, int length)
{
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    reply["1"] = "";
    FrameBuffer probe;
    probe.FromMessage(reply);
    reply["1"] = std::string(static_cast<std::size_t>(length - probe.Length()), 'x');
}

Bytes FrameOf(const CommMsg_base& msg)
{
    FrameBuffer f;
    f.FromMessage(msg);
    return Bytes(f.Bytes(), f.Bytes() + f.Length());
}

class ReplySize : public ServerSend, public testing::WithParamInterface<int> {};

TEST_P(ReplySize, ReplyArrivesWholeAndExact)
{
    CommMsg_base reply;
    BuildReply(reply, GetParam());
    const Bytes expected = FrameOf(reply);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(GetParam()));
    proc.SetOnMessage([&](SOCKET s, CommMsg_base&) {
        server->SendMsg({s}, reply);
        server->CloseConnection(s);
    });
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
    EXPECT_EQ(c.ReadUntilClosed(), expected);
    EXPECT_TRUE(c.PeerClosed());
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReplySize, testing::Values(100, 32766, 32767, 4 * 1024 * 1024),
                         [](const auto& info) { return std::to_string(info.param); });

struct CloseCase {
    const char* name;
    int attachBytes;
    std::chrono::milliseconds waitBeforeClose;
    std::chrono::milliseconds closeDelay;
};

class ReplyThenClose : public ServerSend, public testing::WithParamInterface<CloseCase> {};

// The display closes a connection right after answering; the answer must still arrive
// whole, however large it is and however soon the close follows.
TEST_P(ReplyThenClose, WholeReplyArrivesBeforeTheConnectionEnds)
{
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, 1920);
    SetIntField(reply, MsgKey::kScreenHeight, 1080);
    if (GetParam().attachBytes > 0) {
        Bytes attach(static_cast<std::size_t>(GetParam().attachBytes));
        for (std::size_t i = 0; i < attach.size(); ++i) {
            attach[i] = static_cast<std::uint8_t>(i * 7);
        }
        reply.SetAttachment(attach.data(), GetParam().attachBytes);
    }
    proc.SetOnMessage([&](SOCKET s, CommMsg_base&) {
        server->SendMsg({s}, reply);
        std::this_thread::sleep_for(GetParam().waitBeforeClose);
        server->CloseConnection(s, GetParam().closeDelay);
    });
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
    EXPECT_EQ(c.ReadUntilClosed(), FrameOf(reply));
    EXPECT_TRUE(c.PeerClosed());
    EXPECT_TRUE(proc.WaitForClosed(1));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplyThenClose,
                         testing::Values(CloseCase{"ScreenSizeAfter50ms", 0, 50ms, 0ms},
                                         CloseCase{"ScreenSizeWithDelayedClose", 0, 0ms, 50ms},
                                         CloseCase{"FourMiBClosedAtOnce", 4 * 1024 * 1024, 0ms, 0ms},
                                         CloseCase{"FourMiBWithDelayedClose", 4 * 1024 * 1024, 0ms, 50ms}),
                         [](const auto& info) { return std::string(info.param.name); });

// The processor's close delay runs as a timer of that connection: the next message is
// handed over while the closed connection is still waiting for its end.
TEST_F(ServerSend, DelayedCloseDoesNotHoldUpTheNextMessage)
{
    proc.SetOnMessage([&](SOCKET s, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) == 303) {
            server->CloseConnection(s, std::chrono::hours(1));
        }
    });
    LoopbackClient first(port);
    ASSERT_TRUE(first.Send(MakeFrame(MsgJson(303))));
    ASSERT_TRUE(proc.WaitForMessages(1));
    LoopbackClient second(port);
    ASSERT_TRUE(second.Send(MakeFrame(MsgJson(301))));
    ASSERT_TRUE(proc.WaitForMessages(2));
    EXPECT_TRUE(first.StaysQuietFor(50ms));
    EXPECT_TRUE(proc.Closed().empty());
}

// A reply that comes from another thread after the handler has held the connection open
// for it: the sooner close wins, also when the peer has already shut its side down.
TEST_F(ServerSend, SoonerCloseReplacesTheLongHoldOfAConnection)
{
    CommMsg_base reply;
    BuildReply(reply, 1000);
    const Bytes expected = FrameOf(reply);
    std::thread replier;
    proc.SetOnMessage([&](SOCKET s, CommMsg_base&) {
        server->CloseConnection(s, std::chrono::hours(1));
        replier = std::thread([&, s] {
            std::this_thread::sleep_for(100ms);
            server->SendMsg({s}, reply);
            server->CloseConnection(s, 50ms);
        });
    });
    LoopbackClient client(port);
    ASSERT_TRUE(client.Send(MakeFrame(MsgJson(921))));
    client.ShutdownSending();
    // Within a few seconds, not the hour the handler first set.
    EXPECT_EQ(client.ReadUntilClosed(std::chrono::seconds(5)), expected);
    EXPECT_TRUE(client.PeerClosed());
    replier.join();
}

TEST_F(ServerSend, SendMsgToTwoConnectionsSendsTheWholeFrameToEach)
{
    CommMsg_base reply;
    BuildReply(reply, 40000);
    const Bytes expected = FrameOf(reply);
    proc.SetOnMessage([&](SOCKET s, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) == MSGID_SCREEN_SIZE) {
            server->SendMsg({proc.Messages()[0].s, s}, reply);
        }
    });
    LoopbackClient first(port);
    ASSERT_TRUE(first.Send(MakeFrame(MsgJson(400))));
    ASSERT_TRUE(proc.WaitForMessages(1));
    LoopbackClient second(port);
    ASSERT_TRUE(second.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
    EXPECT_EQ(first.ReadExactly(expected.size()), expected);
    EXPECT_EQ(second.ReadExactly(expected.size()), expected);
}

TEST_F(ServerSend, SendingToOrClosingAnEndedIdTouchesNoOtherConnection)
{
    LoopbackClient gone(port);
    ASSERT_TRUE(gone.Send(MakeFrame(MsgJson(400))));
    ASSERT_TRUE(proc.WaitForMessages(1));
    const SOCKET ended = proc.Messages()[0].s;
    gone.Close();
    ASSERT_TRUE(proc.WaitForClosed(1));

    LoopbackClient live(port);
    ASSERT_TRUE(live.Send(MakeFrame(MsgJson(401))));
    ASSERT_TRUE(proc.WaitForMessages(2));

    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    server->SendMsg({ended}, reply);
    server->CloseConnection(ended);
    server->CloseConnection(ended);
    EXPECT_TRUE(log.WaitFor(LogText::SendError(asio::error::bad_descriptor)));
    EXPECT_TRUE(live.StaysQuietFor(100ms));

    // The live connection still works both ways.
    ASSERT_TRUE(live.Send(MakeFrame(MsgJson(402))));
    ASSERT_TRUE(proc.WaitForMessages(3));
    server->SendMsg({proc.Messages()[2].s}, reply);
    EXPECT_EQ(live.ReadExactly(FrameOf(reply).size()), FrameOf(reply));
    EXPECT_EQ(proc.Closed(), std::vector<SOCKET>{ended});
}

TEST_F(ServerSend, PeersLeavingInTheMiddleOfALongReplyAreCleanedUp)
{
    // Each peer reads a little of a reply far larger than the socket buffers and leaves,
    // so its connection ends while a write on it is still under way.
    CommMsg_base reply;
    BuildReply(reply, 4 * 1024 * 1024);
    proc.SetOnMessage([&](SOCKET s, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) == MSGID_SCREEN_SIZE) {
            server->SendMsg({s}, reply);
        }
    });
    constexpr int kPeers = 12;
    for (int i = 0; i < kPeers; ++i) {
        LoopbackClient c(port);
        ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
        EXPECT_EQ(c.ReadExactly(1000 * static_cast<std::size_t>(i + 1)).size(), 1000u * static_cast<std::size_t>(i + 1));
    }
    ASSERT_TRUE(proc.WaitForClosed(kPeers));
    BuildReply(reply, 100);
    LoopbackClient after(port);
    ASSERT_TRUE(after.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
    EXPECT_EQ(after.ReadExactly(100), FrameOf(reply));
}

}  // namespace
