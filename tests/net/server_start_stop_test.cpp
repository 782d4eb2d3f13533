// Starting on a port, failing to, and stopping with work under way.
#include <memory>
#include <thread>

#include <asio/error.hpp>

#include "net/log_texts.h"
#include "net/tip_proc_base.h"
#include "os/message_box.h"
#include "answering_proc.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

// Positions of the lines in the log, -1 for a line not there.
std::vector<long> PositionsOf(const std::vector<std::u16string>& lines, const std::vector<std::u16string>& wanted)
{
    std::vector<long> pos;
    for (const auto& w : wanted) {
        const auto it = std::find(lines.begin(), lines.end(), w);
        pos.push_back(it == lines.end() ? -1 : it - lines.begin());
    }
    return pos;
}

TEST(ServerStart, ListensOnAFreePortAndLogsIt)
{
    LogWatch log;
    RecordingProc proc;
    CIOCPclass2016BC server;
    ASSERT_EQ(server.CreateField(0, &proc), 1);
    const int port = server.ListeningPort();
    ASSERT_GT(port, 0);
    // A port the system picks is above 32767 and is still written as the port.
    EXPECT_EQ(log.Count(u"在端口" + IntToWide(port) + u"建立了监听服务!"), 1);
    LoopbackClient c(port);
    EXPECT_TRUE(c.Connected());
}

TEST(ServerStart, TakenPortFailsTheStartWithTheBindErrorAndOneMessageBox)
{
    // Another program holds the port.
    int taken = 0;
    const PlainSocket::Handle holder = PlainSocket::ListenOnFreePort(taken);
    ASSERT_NE(holder, PlainSocket::kNone);

    std::vector<std::u16string> boxes;
    SetMessageBoxHandler([&](const std::u16string& text) { boxes.push_back(text); });
    LogWatch log;
    RecordingProc proc;
    {
        CIOCPclass2016BC server;
        EXPECT_EQ(server.CreateField(taken, &proc), 0);
        EXPECT_EQ(server.ListeningPort(), 0);
    }
    SetMessageBoxHandler(nullptr);
    PlainSocket::Close(holder);

    // The system's own code for an address in use: EADDRINUSE (98), WSAEADDRINUSE (10048).
    EXPECT_EQ(log.Count(LogText::WithCode(LogText::kBindFailed, asio::error::address_in_use)), 1);
    EXPECT_EQ(boxes, std::vector<std::u16string>{u"无法建立socket监听。。。"});
    // The process goes on: another server starts as usual.
    CIOCPclass2016BC next;
    EXPECT_EQ(next.CreateField(0, &proc), 1);
}

// The display closes each connection after its reply, so its side of the connection waits
// in TIME_WAIT for minutes after it has stopped; a restart must not have to wait for that.
TEST(ServerStart, RestartGetsThePortBackWhileTheLastConnectionWaitsOut)
{
    int port = 0;
    {
        AnsweringProc proc;
        CIOCPclass2016BC server;
        proc.m_pServer = &server;
        ASSERT_EQ(server.CreateField(0, &proc), 1);
        port = server.ListeningPort();
        LoopbackClient c(port);
        ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
        ASSERT_EQ(c.ReadUntilClosed(), AnsweringProc::SizeReply());
    }
    RecordingProc proc;
    CIOCPclass2016BC restarted;
    ASSERT_EQ(restarted.CreateField(port, &proc), 1);
    LoopbackClient c(port);
    EXPECT_TRUE(c.Connected());
}

TEST(ServerStop, UnstartedServerStopsWithoutALine)
{
    LogWatch log;
    { CIOCPclass2016BC server; }
    EXPECT_TRUE(log.Lines().empty());
}

TEST(ServerStop, WritesItsThreeLinesInOrder)
{
    LogWatch log;
    RecordingProc proc;
    {
        CIOCPclass2016BC server;
        ASSERT_EQ(server.CreateField(0, &proc), 1);
    }
    const auto pos = PositionsOf(log.Lines(), {LogText::kPostExit, LogText::kListenClosed, LogText::kPortClosed});
    EXPECT_GE(pos[0], 0);
    EXPECT_GT(pos[1], pos[0]);
    EXPECT_GT(pos[2], pos[1]);
}

TEST(ServerStop, StopWithOpenConnectionsAndQueuedFramesEndsEveryConnection)
{
    RecordingProc proc;
    proc.SetOnMessage([](SOCKET, CommMsg_base&) { std::this_thread::sleep_for(20ms); });
    auto server = std::make_unique<CIOCPclass2016BC>();
    ASSERT_EQ(server->CreateField(0, &proc), 1);
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (int i = 0; i < 4; ++i) {
        clients.push_back(std::make_unique<LoopbackClient>(server->ListeningPort()));
        ASSERT_TRUE(clients.back()->Send(MakeFrame(MsgJson(400)) + MakeFrame(MsgJson(401)) + MakeFrame(MsgJson(402))));
    }
    ASSERT_TRUE(proc.WaitForMessages(1));
    // A connection the worker has not taken yet is not one the processor knows of.
    for (int i = 0; i < 500 && server->ConnectionCount() < 4; ++i) {
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_EQ(server->ConnectionCount(), 4);
    server.reset();

    EXPECT_EQ(proc.Closed().size(), 4u);
    EXPECT_LT(proc.Messages().size(), 12u);
    for (auto& c : clients) {
        c->ReadUntilClosed();
        EXPECT_TRUE(c->PeerClosed());
    }
}

// The owner stops its server before its own members go; the derived processor's hooks
// are never called once StopServer has returned.
class CountingOwner : public CTipProcBase_IOCP_bc {
public:
    ~CountingOwner() override { StopServer(); }
    void OnMessage(SOCKET s, CommMsg_base*) override
    {
        ++m_nMessages;
        m_pServer->CloseConnection(s);
    }
    std::atomic<int> m_nMessages{0};
};

TEST(ServerStop, OwnerStopsAndFreesItsServer)
{
    auto owner = std::make_unique<CountingOwner>();
    owner->m_pServer = std::make_unique<CIOCPclass2016BC>();
    ASSERT_EQ(owner->m_pServer->CreateField(0, owner.get()), 1);
    LoopbackClient c(owner->m_pServer->ListeningPort());
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(301))));
    c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    EXPECT_EQ(owner->m_nMessages, 1);
    owner->StopServer();
    EXPECT_EQ(owner->m_pServer, nullptr);
    owner->StopServer();
}

}  // namespace
