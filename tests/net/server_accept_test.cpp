// Accept batches, and idle connections closed at the next accept.
#include <future>
#include <memory>
#include <thread>

#include "net/log_texts.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

class ServerAccept : public ServerTest {};

TEST_F(ServerAccept, TenAcceptsPendAfterStartAndTheEleventhConnectionGetsANewBatch)
{
    EXPECT_EQ(server->PendingAcceptCount(), 10);
    EXPECT_EQ(server->ConnectionCount(), 0);

    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (int i = 0; i < 10; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>(port));
        ASSERT_TRUE(clients.back()->Send(MakeFrame(MsgJson(400 + i))));
    }
    ASSERT_TRUE(proc.WaitForMessages(10));
    EXPECT_EQ(server->PendingAcceptCount(), 0);
    EXPECT_EQ(log.Count(LogText::kNewAcceptBatch), 0);

    LoopbackClient eleventh(port);
    ASSERT_TRUE(eleventh.Send(MakeFrame(MsgJson(410))));
    ASSERT_TRUE(proc.WaitForMessages(11));
    EXPECT_EQ(proc.Messages()[10].id, 410);
    EXPECT_TRUE(log.WaitFor(LogText::kNewAcceptBatch));
    EXPECT_EQ(log.Count(LogText::kNewAcceptBatch), 1);
    EXPECT_EQ(server->PendingAcceptCount(), 9);
    EXPECT_EQ(server->ConnectionCount(), 11);
}

// Connects a client and waits until the server has handled a message from it, which
// also means its accept, and the idle sweep that follows every accept, are done.
std::unique_ptr<LoopbackClient> ConnectAndSend(int port, RecordingProc& proc, int id, int receiveBuffer = 0)
{
    const std::size_t before = proc.Messages().size();
    auto c = std::make_unique<LoopbackClient>(port, receiveBuffer);
    EXPECT_TRUE(c->Send(MakeFrame(MsgJson(id))));
    EXPECT_TRUE(proc.WaitForMessages(before + 1));
    return c;
}

std::unique_ptr<LoopbackClient> ConnectSilently(CIOCPclass2016BC& server, int port)
{
    const int before = server.ConnectionCount();
    auto c = std::make_unique<LoopbackClient>(port);
    for (int i = 0; i < 2000 && server.ConnectionCount() == before; ++i) {
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_EQ(server.ConnectionCount(), before + 1);
    return c;
}

TEST_F(ServerAccept, SilentConnectionIsClosedAtTheFirstAcceptAfterTwoMinutes)
{
    Clock::Set(DateTime::FromLocal(2026, 5, 4, 9, 0, 0));
    auto silent = ConnectSilently(*server, port);

    Clock::Advance(119);
    ConnectAndSend(port, proc, 400);
    EXPECT_TRUE(silent->StaysQuietFor(50ms));

    Clock::Advance(2);
    EXPECT_TRUE(silent->StaysQuietFor(50ms));  // nobody connected: nothing is swept
    ConnectAndSend(port, proc, 401);
    silent->ReadUntilClosed();
    EXPECT_TRUE(silent->PeerClosed());
}

TEST_F(ServerAccept, ConnectionThatSentDataIsClosedAtTheFirstAcceptAfterSixHours)
{
    Clock::Set(DateTime::FromLocal(2026, 5, 4, 9, 0, 0));
    auto talker = ConnectAndSend(port, proc, 400);

    Clock::Advance(5 * 3600 + 59 * 60);
    ConnectAndSend(port, proc, 401);
    EXPECT_TRUE(talker->StaysQuietFor(50ms));

    Clock::Advance(2 * 60);
    ConnectAndSend(port, proc, 402);
    talker->ReadUntilClosed();
    EXPECT_TRUE(talker->PeerClosed());
}

TEST_F(ServerAccept, ReplyStuckForMoreThanTwoMinutesIsClosedAtTheNextAccept)
{
    // More than the socket buffers of both ends hold, to a peer that never reads.
    CommMsg_base reply;
    reply.ResetMsg(309);
    const Bytes big(4 * 1024 * 1024, 0x42);
    reply.SetAttachment(big.data(), static_cast<int>(big.size()));
    std::promise<void> sent;
    proc.SetOnMessage([this, &reply, &sent](SOCKET s, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) == 309) {
            server->SendMsg({s}, reply);
            sent.set_value();
        }
    });
    Clock::Set(DateTime::FromLocal(2026, 5, 4, 9, 0, 0));
    auto sleeper = ConnectAndSend(port, proc, 309, 4096);
    sent.get_future().wait();

    Clock::Advance(120);
    auto early = ConnectAndSend(port, proc, 400);
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(proc.Closed().empty());

    Clock::Advance(1);
    auto late = ConnectAndSend(port, proc, 401);
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(proc.Closed()[0], proc.Messages()[0].s);
}

}  // namespace
