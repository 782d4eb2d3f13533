// Peers that do everything wrong, alone and at once, against a server that answers as the
// display does (size reply, close 50 ms after the message). Whatever they do, a well-
// behaved peer afterwards gets its exact answer, and nothing they did reaches the
// processor except their whole, valid messages.
#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "answering_proc.h"
#include "log_watch.h"
#include "msg/msg_ids.h"
#include "net/log_texts.h"

namespace {

using namespace std::chrono_literals;

class HostilePeers : public testing::Test {
protected:
    void SetUp() override
    {
        proc.m_pServer = server.get();
        ASSERT_EQ(server->CreateField(0, &proc), 1);
        port = server->ListeningPort();
    }

    // The check every test ends with: the server still answers a newcomer exactly.
    void ExpectStillAnswering()
    {
        LoopbackClient c(port);
        ASSERT_TRUE(c.Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE))));
        EXPECT_EQ(c.ReadUntilClosed(), AnsweringProc::SizeReply());
        EXPECT_TRUE(c.PeerClosed());
    }

    static std::string MsgJson(int id) { return "{\"pub_MsgID\":" + std::to_string(id) + "}"; }

    std::vector<int> Ids()
    {
        std::vector<int> ids;
        for (const auto& m : proc.Messages()) {
            ids.push_back(m.id);
        }
        return ids;
    }

    LogWatch log;
    AnsweringProc proc{50ms};
    std::unique_ptr<CIOCPclass2016BC> server = std::make_unique<CIOCPclass2016BC>();
    int port = 0;
};

TEST_F(HostilePeers, GarbageFromManyPeersReachesNobody)
{
    std::mt19937 random(20260504);
    std::vector<std::unique_ptr<LoopbackClient>> peers;
    for (int i = 0; i < 20; ++i) {
        Bytes noise(static_cast<std::size_t>(1 + random() % 70000));
        for (auto& b : noise) {
            b = static_cast<std::uint8_t>(random());
        }
        // A small announced length keeps the noise cutting into many little frames.
        if (i % 2 == 0 && noise.size() >= 4) {
            WriteInt32LE(noise.data(), static_cast<std::int32_t>(8 + random() % 32));
        }
        peers.push_back(std::make_unique<LoopbackClient>(port));
        peers.back()->Send(noise);
    }
    ExpectStillAnswering();
    for (int id : Ids()) {
        EXPECT_EQ(id, MSGID_SCREEN_SIZE);
    }
}

TEST_F(HostilePeers, TrickleOfOneByteAtATimeIsAnsweredWhole)
{
    const Bytes frame = MakeFrame(MsgJson(MSGID_SCREEN_SIZE));
    LoopbackClient c(port);
    for (std::uint8_t b : frame) {
        ASSERT_TRUE(c.Send({b}));
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(c.ReadUntilClosed(), AnsweringProc::SizeReply());
}

struct ResetCase {
    const char* name;
    std::size_t bytesBeforeReset;
};

class Resets : public HostilePeers, public testing::WithParamInterface<ResetCase> {};

TEST_P(Resets, PeersThatResetAreForgottenAndCostNothing)
{
    // A 4 MiB note, so a reset can come in the middle of it.
    const Bytes frame = MakeFrame(MsgJson(MSGID_NOTE_PAGE), Bytes(4 * 1024 * 1024, 0x11));
    const std::size_t cut = std::min(GetParam().bytesBeforeReset, frame.size());
    for (int i = 0; i < 30; ++i) {
        LoopbackClient c(port);
        c.Send(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut)));
        c.Reset();
    }
    ExpectStillAnswering();
    for (int id : Ids()) {
        EXPECT_TRUE(id == MSGID_SCREEN_SIZE || id == MSGID_NOTE_PAGE);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, Resets,
                         testing::Values(ResetCase{"BeforeSending", 0}, ResetCase{"InTheHeader", 5},
                                         ResetCase{"InTheAttachment", 3 * 1024 * 1024},
                                         ResetCase{"AfterTheWholeFrame", 64 * 1024 * 1024}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HalfCloseCase {
    const char* name;
    Bytes sent;
    std::vector<int> handled;
    bool replied;
};

class HalfCloses : public HostilePeers, public testing::WithParamInterface<HalfCloseCase> {};

// A script sends its frame and shuts its side down at once: its message still counts,
// and the reply to a size request still arrives.
TEST_P(HalfCloses, FramesReceivedBeforeTheHalfCloseAreHandled)
{
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(GetParam().sent));
    c.ShutdownSending();
    const Bytes got = c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    EXPECT_EQ(got, GetParam().replied ? AnsweringProc::SizeReply() : Bytes{});
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(Ids(), GetParam().handled);
}

const Bytes kSizeRequest = MakeFrame("{\"pub_MsgID\":309}");
const Bytes kRoundPage = MakeFrame(R"({"1":"Round 3","pub_MsgID":303})");

INSTANTIATE_TEST_SUITE_P(
    Cases, HalfCloses,
    testing::Values(HalfCloseCase{"SizeRequest", kSizeRequest, {MSGID_SCREEN_SIZE}, true},
                    HalfCloseCase{"RoundPage", kRoundPage, {303}, false},
                    HalfCloseCase{"PartOfAFrame", Bytes(kRoundPage.begin(), kRoundPage.begin() + 12), {}, false},
                    HalfCloseCase{"Nothing", {}, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostilePeers, HundredSimultaneousSizeRequestsAreAllAnsweredExactly)
{
    constexpr int kPeers = 100;
    std::vector<std::unique_ptr<LoopbackClient>> peers;
    for (int i = 0; i < kPeers; ++i) {
        peers.push_back(std::make_unique<LoopbackClient>(port));
    }
    for (auto& p : peers) {
        ASSERT_TRUE(p->Send(kSizeRequest));
    }
    for (auto& p : peers) {
        EXPECT_EQ(p->ReadUntilClosed(), AnsweringProc::SizeReply());
    }
    ASSERT_TRUE(proc.WaitForClosed(kPeers));
    // Every connection had its own id, and none of them comes back.
    const auto msgs = proc.Messages();
    std::set<SOCKET> ids;
    for (const auto& m : msgs) {
        ids.insert(m.s);
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(kPeers));
    ExpectStillAnswering();
    EXPECT_GT(proc.Messages().back().s, *ids.rbegin());
}

TEST_F(HostilePeers, FloodOfFramesOnOneConnectionStopsAtItsClose)
{
    // The first message closes the connection; everything behind it is dropped at once
    // and never reaches the processor.
    LoopbackClient c(port);
    Bytes flood;
    for (int i = 0; i < 5000; ++i) {
        flood = flood + MakeFrame(MsgJson(400 + i % 50));
    }
    c.Send(flood);
    c.ReadUntilClosed();
    ASSERT_TRUE(proc.WaitForClosed(1));
    const auto msgs = proc.Messages();
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(msgs[0].id, 400);
    EXPECT_EQ(msgs.size(), 1u);
    ExpectStillAnswering();
}

TEST_F(HostilePeers, OversizedJsonIsRejectedWithoutHoldingUpOthers)
{
    std::string json = R"({"pub_MsgID":303,"1":")";
    json += std::string(8 * 1024 * 1024, '[') + "\"}";
    LoopbackClient big(port);
    ASSERT_TRUE(big.Send(MakeFrame(json)));
    ExpectStillAnswering();
    EXPECT_TRUE(big.StaysQuietFor(50ms));
    EXPECT_EQ(Ids(), std::vector<int>{MSGID_SCREEN_SIZE});
}

TEST_F(HostilePeers, AnnouncedGiantFramesFromManyPeersEndOnlyThosePeers)
{
    std::vector<std::unique_ptr<LoopbackClient>> peers;
    for (int i = 0; i < 10; ++i) {
        Bytes header(8);
        WriteInt32LE(header.data(), 0x7FFFFFFF);
        peers.push_back(std::make_unique<LoopbackClient>(port));
        peers.back()->Send(header + Bytes(100, 0));
    }
    for (auto& p : peers) {
        p->ReadUntilClosed();
        EXPECT_TRUE(p->PeerClosed());
    }
    ASSERT_TRUE(proc.WaitForClosed(10));
    for (SOCKET s : proc.Closed()) {
        EXPECT_EQ(log.Count(LogText::FrameTooLarge(s)), 1);
    }
    ExpectStillAnswering();
}

TEST_F(HostilePeers, StopWithEveryKindOfPeerConnectedEndsCleanly)
{
    std::vector<std::unique_ptr<LoopbackClient>> peers;
    for (int i = 0; i < 10; ++i) {
        peers.push_back(std::make_unique<LoopbackClient>(port, 4096));
    }
    peers[0]->Send(MakeFrame(MsgJson(MSGID_SCREEN_SIZE)));
    peers[1]->Send(Bytes(100, 0xFF));
    peers[2]->Send(Bytes(kRoundPage.begin(), kRoundPage.begin() + 9));
    peers[3]->ShutdownSending();
    std::this_thread::sleep_for(20ms);
    server.reset();
    for (auto& p : peers) {
        p->ReadUntilClosed();
        EXPECT_TRUE(p->PeerClosed());
    }
}

}  // namespace
