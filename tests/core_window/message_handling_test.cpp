// Messages through the real server into the display's core: what each does to the page
// list, the size reply, and the end of every connection.
#include "fake_frame_fixture.h"

namespace {

using MessageHandling = FakeFrameTest;

TEST_F(MessageHandling, SizeRequestGetsExactlyOneReplyFrameThenTheConnectionEnds)
{
    const std::vector<std::uint8_t> reply = Deliver(*MakeMsg(MSGID_SCREEN_SIZE));
    const std::string text = "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n";
    std::vector<std::uint8_t> expected{0x2E, 0, 0, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), text.begin(), text.end());
    ASSERT_EQ(expected.size(), 46u);
    EXPECT_EQ(reply, expected);
}

TEST_F(MessageHandling, SizeReplyFollowsTheClientArea)
{
    m_pFrame->ShowWithClientSize(2560, 1440);
    const std::vector<std::uint8_t> reply = Deliver(*MakeMsg(MSGID_SCREEN_SIZE));
    const std::string text(reply.begin() + 8, reply.end());
    EXPECT_EQ(text, "{\"71\":1280,\"72\":720,\"pub_MsgID\":309}\n");
}

enum class Before { Nothing, RoundPage, ThreeNotes, TwoNotes };

struct PageCase {
    const char* name;
    Before before;
    int nMsgID;
    bool bReplace;       // key 79 on a note
    const char* result;  // the page list afterwards
};

class PageListChange : public FakeFrameTest, public ::testing::WithParamInterface<PageCase> {
protected:
    void Prepare(Before before)
    {
        const int nNotes = before == Before::ThreeNotes ? 3 : before == Before::TwoNotes ? 2 : 0;
        if (before == Before::RoundPage) {
            Deliver(*RoundPageMsg());
        }
        for (int i = 0; i < nNotes; ++i) {
            Deliver(*NotePageMsg(false));
        }
    }
};

TEST_P(PageListChange, ChangesThePagesAndClosesWithoutReply)
{
    const PageCase& c = GetParam();
    Prepare(c.before);
    std::unique_ptr<CommMsg_base> msg = c.nMsgID == MSGID_ROUND_PAGE ? RoundPageMsg()
                                      : c.nMsgID == MSGID_NOTE_PAGE  ? NotePageMsg(c.bReplace)
                                                                     : MakeMsg(c.nMsgID);
    EXPECT_TRUE(Deliver(*msg).empty());
    EXPECT_EQ(PageKinds(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, PageListChange,
    ::testing::Values(PageCase{"ClearWhileRoundPage", Before::RoundPage, MSGID_CLEAR, false, ""},
                      PageCase{"ClearWhileEmpty", Before::Nothing, MSGID_CLEAR, false, ""},
                      PageCase{"RoundPageReplacesNotes", Before::ThreeNotes, MSGID_ROUND_PAGE, false, "R"},
                      PageCase{"RoundPageReplacesRoundPage", Before::RoundPage, MSGID_ROUND_PAGE, false, "R"},
                      PageCase{"NoteReplacesRoundPage", Before::RoundPage, MSGID_NOTE_PAGE, false, "N"},
                      PageCase{"NoteIsAdded", Before::TwoNotes, MSGID_NOTE_PAGE, false, "NNN"},
                      PageCase{"NoteWithFlag79Replaces", Before::TwoNotes, MSGID_NOTE_PAGE, true, "N"},
                      PageCase{"Id302ChangesNothing", Before::RoundPage, 302, false, "R"},
                      PageCase{"Id400ChangesNothing", Before::TwoNotes, 400, false, "NN"}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST_F(MessageHandling, SecondFrameOnAClosedConnectionReachesNoOne)
{
    // A peer that sends two frames on one connection: the display answers the first and
    // closes; the second, already received, must not be handled.
    std::vector<std::uint8_t> bytes = FrameOf(*RoundPageMsg());
    const std::vector<std::uint8_t> clear = FrameOf(*MakeMsg(MSGID_CLEAR));
    bytes.insert(bytes.end(), clear.begin(), clear.end());
    LoopbackClient peer(m_nPort);
    ASSERT_TRUE(peer.Send(bytes));
    peer.ReadUntilClosed();
    EXPECT_TRUE(peer.PeerClosed());
    // A connection made afterwards is served, and the stale clear never ran.
    EXPECT_EQ(Deliver(*MakeMsg(MSGID_SCREEN_SIZE)).size(), 46u);
    EXPECT_EQ(PageKinds(), "R");
}

TEST(MessageHandlingTeardown, ClosingTheWindowWhileMessagesArriveStopsCleanly)
{
    auto pFrame = std::make_unique<FakeFrame>(0);
    ASSERT_TRUE(pFrame->Create());
    const int nPort = pFrame->ListeningPort();
    std::vector<std::unique_ptr<LoopbackClient>> peers;
    for (int i = 0; i < 4; ++i) {
        peers.push_back(std::make_unique<LoopbackClient>(nPort));
        ASSERT_TRUE(peers.back()->Send(FrameOf(i % 2 == 0 ? *NotePageMsg(false) : *RoundPageMsg())));
    }
    pFrame.reset();
    for (auto& peer : peers) {
        peer->ReadUntilClosed();
        EXPECT_TRUE(peer->PeerClosed()) << "a connection outlived the server";
    }
}

}  // namespace
