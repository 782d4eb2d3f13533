// Reassembly of frames from each connection's stream and what reaches the processor.
#include <future>
#include <thread>

#include "net/log_texts.h"
#include "server_fixture.h"

namespace {

using namespace std::chrono_literals;

class ServerFrames : public ServerTest {};

TEST_F(ServerFrames, FrameInTwoPiecesIsQueuedOnceWhole)
{
    const Bytes frame = MakeFrame(MsgJson(303, R"("1":"Round 3")"), Bytes(150, 0xAB));
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(Bytes(frame.begin(), frame.begin() + 20)));
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(proc.Messages().empty());

    ASSERT_TRUE(c.Send(Bytes(frame.begin() + 20, frame.end())));
    ASSERT_TRUE(proc.WaitForMessages(1));
    std::this_thread::sleep_for(30ms);
    const auto msgs = proc.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].json, "{\"1\":\"Round 3\",\"pub_MsgID\":303}\n");
    EXPECT_EQ(msgs[0].attachLen, 150);
}

TEST_F(ServerFrames, TwoFramesInOneSegmentArriveInOrderFromTheSameConnection)
{
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(301)) + MakeFrame(MsgJson(309))));
    ASSERT_TRUE(proc.WaitForMessages(2));
    const auto msgs = proc.Messages();
    EXPECT_EQ(msgs[0].id, 301);
    EXPECT_EQ(msgs[1].id, 309);
    EXPECT_EQ(msgs[0].s, msgs[1].s);
    EXPECT_NE(msgs[0].s, INVALID_SOCKET);
}

class FrameWithoutId : public ServerFrames, public testing::WithParamInterface<const char*> {};

TEST_P(FrameWithoutId, IsDroppedAndTheConnectionKept)
{
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(GetParam())));
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(305))));
    ASSERT_TRUE(proc.WaitForMessages(1));
    std::this_thread::sleep_for(30ms);
    const auto msgs = proc.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].id, 305);
    EXPECT_TRUE(proc.Closed().empty());
}

INSTANTIATE_TEST_SUITE_P(Ids, FrameWithoutId,
                         testing::Values(R"({"1":"no id"})", R"({"pub_MsgID":0})", R"({"pub_MsgID":-3})",
                                         R"({"pub_MsgID":"309"})", R"([309])"));

struct RejectCase {
    int rejected;
    bool goodFrameDelivered;
};

class RejectedFrames : public ServerFrames, public testing::WithParamInterface<RejectCase> {};

// A header alone is a frame that is always rejected.
TEST_P(RejectedFrames, MoreThanTwentyInOneReceiveDiscardTheRestOfTheStream)
{
    const Bytes headerOnly = MakeFrame("");
    Bytes burst;
    for (int i = 0; i < GetParam().rejected; ++i) {
        burst = burst + headerOnly;
    }
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(burst + MakeFrame(MsgJson(303))));
    // Time to take the burst in alone; the connection stays open and its next bytes
    // begin a new stream.
    std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(301))));
    ASSERT_TRUE(proc.WaitForMessages(GetParam().goodFrameDelivered ? 2 : 1));
    std::this_thread::sleep_for(30ms);
    std::vector<int> ids;
    for (const auto& m : proc.Messages()) {
        ids.push_back(m.id);
    }
    EXPECT_EQ(ids, (GetParam().goodFrameDelivered ? std::vector<int>{303, 301} : std::vector<int>{301}));
}

INSTANTIATE_TEST_SUITE_P(Counts, RejectedFrames, testing::Values(RejectCase{20, true}, RejectCase{21, false}),
                         [](const auto& info) { return std::to_string(info.param.rejected); });

struct LeaveCase {
    const char* name;
    void (*leave)(LoopbackClient&);
    std::vector<int> handled;
};

class PeerLeaving : public ServerFrames, public testing::WithParamInterface<LeaveCase> {};

// Two frames of a peer wait behind a message in the processor's hands when the peer
// goes: a reset drops them; a half-close (the peer has said all it had to say) keeps them.
TEST_P(PeerLeaving, QueuedFramesAreKeptOnlyWhenThePeerHalfCloses)
{
    std::promise<void> gate;
    std::shared_future<void> opened = gate.get_future().share();
    proc.SetOnMessage([opened](SOCKET, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) == 400) {
            opened.wait();
        }
    });
    LoopbackClient holder(port);
    ASSERT_TRUE(holder.Send(MakeFrame(MsgJson(400))));
    ASSERT_TRUE(proc.WaitForMessages(1));

    LoopbackClient leaver(port);
    LoopbackClient stayer(port);
    ASSERT_TRUE(leaver.Send(MakeFrame(MsgJson(401)) + MakeFrame(MsgJson(402))));
    for (int i = 0; i < 1000 && server->QueuedMessageCount() < 2; ++i) {
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_TRUE(stayer.Send(MakeFrame(MsgJson(403))));
    for (int i = 0; i < 1000 && server->QueuedMessageCount() < 3; ++i) {
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_EQ(server->QueuedMessageCount(), 3u);

    GetParam().leave(leaver);
    // A reset ends the connection at once; a half-closed one ends only once its frames
    // have been handled.
    if (GetParam().handled.size() == 2) {
        ASSERT_TRUE(proc.WaitForClosed(1));
    } else {
        std::this_thread::sleep_for(50ms);
        EXPECT_TRUE(proc.Closed().empty());
    }
    gate.set_value();

    const std::size_t expected = GetParam().handled.size();
    ASSERT_TRUE(proc.WaitForMessages(expected));
    ASSERT_TRUE(proc.WaitForClosed(1));
    std::this_thread::sleep_for(30ms);
    std::vector<int> ids;
    for (const auto& m : proc.Messages()) {
        ids.push_back(m.id);
    }
    EXPECT_EQ(ids, GetParam().handled);
}

INSTANTIATE_TEST_SUITE_P(Ways, PeerLeaving,
                         testing::Values(LeaveCase{"Reset", [](LoopbackClient& c) { c.Reset(); }, {400, 403}},
                                         LeaveCase{"HalfClose", [](LoopbackClient& c) { c.ShutdownSending(); },
                                                   {400, 401, 402, 403}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct JsonSizeCase {
    const char* name;
    std::size_t jsonBytes;
    bool delivered;
};

class JsonSize : public ServerFrames, public testing::WithParamInterface<JsonSizeCase> {};

// Pictures travel as attachments; a JSON text past 1 MiB is a rejected frame, and the
// connection goes on.
TEST_P(JsonSize, TextsUpTo1MiBAreHandled)
{
    std::string json = MsgJson(305, R"("1":")");
    json += std::string(GetParam().jsonBytes - json.size() - 2, 'a') + "\"}";
    ASSERT_EQ(json.size(), GetParam().jsonBytes);
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(json) + MakeFrame(MsgJson(301))));
    ASSERT_TRUE(proc.WaitForMessages(GetParam().delivered ? 2 : 1));
    std::this_thread::sleep_for(30ms);
    std::vector<int> ids;
    for (const auto& m : proc.Messages()) {
        ids.push_back(m.id);
    }
    EXPECT_EQ(ids, (GetParam().delivered ? std::vector<int>{305, 301} : std::vector<int>{301}));
    EXPECT_TRUE(proc.Closed().empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, JsonSize,
                         testing::Values(JsonSizeCase{"Exactly1MiB", 1024 * 1024, true},
                                         JsonSizeCase{"OneByteMore", 1024 * 1024 + 1, false},
                                         JsonSizeCase{"EightMiB", 8 * 1024 * 1024, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServerFrames, SecondFrameOfAConnectionTheProcessorClosedNeverArrives)
{
    proc.SetOnMessage([this](SOCKET s, CommMsg_base& msg) {
        if (GetIntByName(msg, kMsgIdKey) != 303) {
            return;
        }
        // Let the second frame reach the queue first, which is the case that matters.
        for (int i = 0; i < 1000 && server->QueuedMessageCount() == 0; ++i) {
            std::this_thread::sleep_for(1ms);
        }
        server->CloseConnection(s);
    });
    LoopbackClient c(port);
    ASSERT_TRUE(c.Send(MakeFrame(MsgJson(303)) + MakeFrame(MsgJson(301))));
    c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    ASSERT_TRUE(proc.WaitForClosed(1));

    LoopbackClient next(port);
    ASSERT_TRUE(next.Send(MakeFrame(MsgJson(305))));
    ASSERT_TRUE(proc.WaitForMessages(2));
    const auto msgs = proc.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].id, 303);
    EXPECT_EQ(msgs[1].id, 305);
    EXPECT_NE(msgs[1].s, msgs[0].s);
}

TEST_F(ServerFrames, FrameAnnouncingMoreThan64MiBEndsTheConnectionWithALogLine)
{
    LoopbackClient c(port);
    Bytes header(8);
    WriteInt32LE(header.data(), 64 * 1024 * 1024 + 1);
    ASSERT_TRUE(c.Send(header));
    c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(log.Count(LogText::FrameTooLarge(proc.Closed()[0])), 1);
}

TEST_F(ServerFrames, FrameAnnouncingExactly64MiBIsWaitedFor)
{
    LoopbackClient c(port);
    Bytes header(8);
    WriteInt32LE(header.data(), 64 * 1024 * 1024);
    WriteInt32LE(header.data() + 4, 64 * 1024 * 1024 - 100);
    ASSERT_TRUE(c.Send(header));
    EXPECT_TRUE(c.StaysQuietFor(100ms));
    EXPECT_TRUE(proc.Closed().empty());
}

TEST_F(ServerFrames, StreamPast64MiBThatNeverFormsAFrameEndsTheConnection)
{
    LoopbackClient c(port);
    const Bytes zeros(1024 * 1024, 0);
    bool open = true;
    for (int i = 0; i < 80 && open; ++i) {
        open = c.Send(zeros);
    }
    c.ReadUntilClosed();
    EXPECT_TRUE(c.PeerClosed());
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(log.Count(LogText::FrameTooLarge(proc.Closed()[0])), 1);
}

TEST_F(ServerFrames, PeersTogetherCannotHoldMoreThan256MiB)
{
    // Four peers each park most of a 64 MiB frame (a picture, by its header); the fifth one's bytes pass the limit
    // for everything held, and only that peer is cut off.
    const Bytes chunk(1024 * 1024, 0x5A);
    const auto startFrame = [&](LoopbackClient& c, int mebibytes) {
        Bytes header(8);
        WriteInt32LE(header.data(), 64 * 1024 * 1024);
        WriteInt32LE(header.data() + 4, 64 * 1024 * 1024 - 100);
        bool open = c.Send(header);
        for (int i = 0; i < mebibytes && open; ++i) {
            open = c.Send(chunk);
        }
        return open;
    };
    std::vector<std::unique_ptr<LoopbackClient>> parked;
    for (int i = 0; i < 4; ++i) {
        parked.push_back(std::make_unique<LoopbackClient>(port));
        ASSERT_TRUE(startFrame(*parked.back(), 60));
    }
    LoopbackClient last(port);
    startFrame(last, 60);
    last.ReadUntilClosed();
    EXPECT_TRUE(last.PeerClosed());
    ASSERT_TRUE(proc.WaitForClosed(1));
    EXPECT_EQ(log.Count(LogText::HeldTooMuch(proc.Closed()[0])), 1);
    for (auto& c : parked) {
        EXPECT_TRUE(c->StaysQuietFor(50ms));
    }
    EXPECT_EQ(proc.Closed().size(), 1u);
}

}  // namespace
