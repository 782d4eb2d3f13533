// Messages through the real server into the real window: what each does to the page
// list, the size reply, and the end of every connection.
#include <cstring>

#include "frame_fixture.h"
#include "picture_samples.h"
#include "os/clock.h"

namespace {

using MessageHandling = FrameTest;

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

class PageListChange : public FrameTest, public ::testing::WithParamInterface<PageCase> {
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
    Peer peer(m_nPort);
    ASSERT_TRUE(peer.SendBytes(bytes));
    EXPECT_TRUE(peer.WaitClosed());
    // A connection made afterwards is served, and the stale clear never ran.
    EXPECT_EQ(Deliver(*MakeMsg(MSGID_SCREEN_SIZE)).size(), 46u);
    EXPECT_EQ(PageKinds(), "R");
}

struct KeyCase {
    QRgb noteColour;
    QRgb onScreen;  // the information screen's background where the key leaves it
};

class ColourKey : public FrameTest, public ::testing::WithParamInterface<KeyCase> {
protected:
    // Repaints until the centre of the window's screen image shows the colour.
    bool ScreenShows(QRgb colour)
    {
        for (int i = 0; i < 100; ++i) {
            ProcessEventsFor(20);
            const QImage& screen = m_pFrame->ScreenImage();
            if (screen.size() == QSize(1920, 1080) && screen.pixel(960, 540) == colour) {
                return true;
            }
        }
        return false;
    }
};

TEST_P(ColourKey, PageChangesReachTheScreenThroughTheWindowThread)
{
    // The empty list's information screen first; then a note whose picture is one colour.
    // The repaint is requested from the processing thread and made on the window thread.
    ASSERT_TRUE(ScreenShows(qRgb(22, 96, 128)));
    Deliver(*NotePageMsg(false, GetParam().noteColour));
    ASSERT_EQ(PageKinds(), "N");
    ProcessEventsFor(300);
    EXPECT_TRUE(ScreenShows(GetParam().onScreen));
}

INSTANTIATE_TEST_SUITE_P(Pictures, ColourKey,
                         ::testing::Values(KeyCase{qRgb(10, 200, 30), qRgb(10, 200, 30)},
                                           KeyCase{qRgb(255, 1, 254), qRgb(22, 96, 128)},
                                           KeyCase{qRgb(255, 0, 254), qRgb(255, 0, 254)},
                                           KeyCase{qRgb(255, 1, 255), qRgb(255, 1, 255)}));

// The picture of a note is decoded before the page list is touched: while it is, the
// window goes on repainting (the round page's clock moves on) and the list still holds
// the round page. Were the list locked through the decode, no repaint could finish
// until the note was in.
TEST_F(MessageHandling, TheWindowRepaintsWhileANotePictureIsDecoded)
{
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    Deliver(*RoundPageMsg());
    ProcessEventsFor(300);
    const std::vector<std::uint8_t> png = TwoToneMonoPng(QSize(8192, 8192), qRgb(1, 2, 3), qRgb(4, 5, 6));
    auto note = MakeMsg(MSGID_NOTE_PAGE);
    note->SetAttachment(png.data(), static_cast<int>(png.size()));
    Peer peer(m_nPort);
    ASSERT_TRUE(peer.Send(*note));
    int nRepaintsDuringHandling = 0;
    while (!peer.WaitClosed(std::chrono::milliseconds(10))) {
        const QImage before = m_pFrame->ScreenImage();
        Clock::Advance(1);
        ProcessEventsFor(150);
        if (PageKinds() == "R" && m_pFrame->ScreenImage() != before) {
            ++nRepaintsDuringHandling;
        }
    }
    Clock::UseSystemTime();
    // A decode under the page-list lock would hold every repaint until the note is in,
    // leaving none of the round page; how many fit in depends on the machine's speed.
    EXPECT_GE(nRepaintsDuringHandling, 1);
    EXPECT_EQ(PageKinds(), "N");
    std::lock_guard lock(m_pFrame->Pages().Mutex());
    EXPECT_EQ(m_pFrame->Pages().Page(0).m_picture.GetWidth(), 1920) << "kept at the client size";
}

TEST(MessageHandlingTeardown, ClosingTheWindowWhileMessagesArriveStopsCleanly)
{
    auto pFrame = std::make_unique<CMainFrame>(0);
    ASSERT_TRUE(pFrame->Create());
    const int nPort = pFrame->ListeningPort();
    std::vector<std::unique_ptr<Peer>> peers;
    for (int i = 0; i < 4; ++i) {
        peers.push_back(std::make_unique<Peer>(nPort));
        ASSERT_TRUE(peers.back()->Send(i % 2 == 0 ? *NotePageMsg(false) : *RoundPageMsg()));
    }
    pFrame.reset();
    for (auto& peer : peers) {
        EXPECT_TRUE(peer->WaitClosed()) << "a connection outlived the server";
    }
}

}  // namespace
