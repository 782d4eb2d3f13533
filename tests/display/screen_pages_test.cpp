#include <QImage>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "display/pages/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "os/clock.h"
#include "render_support.h"

namespace {

// A page list as the window holds it, with its repaint requests counted and the clock fixed.
class ScreenPagesTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::Set(m_tNow); }
    void TearDown() override { Clock::UseSystemTime(); }

    void Round(const CommMsg_base& msg)
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.OnRoundPageMessage(msg);
    }
    void Note(const CommMsg_base& msg)
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.OnNotePageMessage(msg);
    }
    void Note(const std::vector<std::uint8_t>& picture, bool replace = false)
    {
        CommMsg_base msg;
        msg.ResetMsg(MSGID_NOTE_PAGE);
        if (replace) SetIntField(msg, MsgKey::kReplaceNotes, 1);
        if (!picture.empty()) Attach(msg, picture);
        Note(msg);
    }
    void Round(const std::string& title)
    {
        CommMsg_base msg;
        msg.ResetMsg(MSGID_ROUND_PAGE);
        msg["1"] = title;
        Round(msg);
    }
    const ScreenPage* Current()
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        return m_pages.CurrentPage();
    }

    DateTime m_tNow = DateTime::FromLocal(2026, 3, 14, 15, 0, 0);
    int m_nRepaints = 0;
    ScreenPageList m_pages{[this] { ++m_nRepaints; }};
    std::vector<std::uint8_t> m_png = EncodePicture(StripedPicture(4, 2, {RGB(10, 20, 30)}), "PNG");
};

TEST_F(ScreenPagesTest, RoundPageTakesEveryFieldFromTheMessage)
{
    CommMsg_base msg;
    msg.FromJsonText(R"({"pub_MsgID":303,"1":"Round 3","2":"Open pairs","11":3000,"13":3600,"14":"1~8",
        "16":"Round 3","18":1,"21":150,"22":-20,"72":2,"26":1,"31":"10, 20, 30","32":"255,128","33":"300,abc,-1",
        "99":1})");
    Attach(msg, m_png);
    Round(msg);

    ASSERT_EQ(m_pages.PageCount(), 1);
    const ScreenPage& page = m_pages.Page(0);
    EXPECT_TRUE(page.m_bRoundPage);
    EXPECT_EQ(page.m_round.title, "Round 3");
    EXPECT_EQ(page.m_round.subtitle, "Open pairs");
    EXPECT_EQ(page.m_tEnd, m_tNow.AddSeconds(3000));
    EXPECT_EQ(page.m_round.roundSeconds, 3600);
    EXPECT_EQ(page.m_round.boards, "1~8");
    EXPECT_EQ(page.m_round.barCaption, "Round 3");
    EXPECT_TRUE(page.m_round.barAtTop);
    EXPECT_EQ(page.m_round.clockX, 150);
    EXPECT_EQ(page.m_round.clockY, -20);
    EXPECT_EQ(page.m_round.clockHeight, 2);
    EXPECT_TRUE(page.m_round.clockBox);
    EXPECT_EQ(page.m_round.clrTitle, RGB(10, 20, 30));
    EXPECT_EQ(page.m_round.clrClock, RGB(255, 128, 0));
    EXPECT_EQ(page.m_round.clrOvertime, RGB(44, 0, 255));
    EXPECT_EQ(page.m_round.language, 1);
    EXPECT_EQ(page.m_picture.GetWidth(), 4);
    EXPECT_EQ(m_nRepaints, 1);
}

TEST_F(ScreenPagesTest, MissingKeysGiveTheGettersValues)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_ROUND_PAGE);
    Round(msg);

    const ScreenPage& page = m_pages.Page(0);
    EXPECT_EQ(page.m_tEnd, m_tNow);
    EXPECT_EQ(page.m_round.clockX, 0);
    EXPECT_EQ(page.m_round.clockHeight, 0);
    EXPECT_EQ(page.m_round.clrTitle, RGB(0, 0, 0));
    EXPECT_EQ(page.m_round.clrClock, RGB(0, 0, 0));
    EXPECT_FALSE(page.m_round.barAtTop);
    EXPECT_TRUE(page.m_picture.IsNull());
}

TEST_F(ScreenPagesTest, NewPageHasTheConstructionValues)
{
    const ScreenPage page;
    EXPECT_FALSE(page.m_bRoundPage);
    EXPECT_TRUE(page.m_tEnd.IsZero());
    EXPECT_EQ(page.m_round.clockX, 50);
    EXPECT_EQ(page.m_round.clockY, 50);
    EXPECT_EQ(page.m_round.clockHeight, 40);
    EXPECT_EQ(page.m_round.clrTitle, RGB(248, 248, 232));
    EXPECT_EQ(page.m_round.clrClock, RGB(248, 248, 248));
    EXPECT_EQ(page.m_round.clrOvertime, RGB(255, 64, 64));
}

TEST_F(ScreenPagesTest, NegativeRemainingTimeEndsTheRoundInThePast)
{
    CommMsg_base msg;
    msg.ResetMsg(MSGID_ROUND_PAGE);
    SetIntField(msg, MsgKey::kRemaining, -65);
    Round(msg);
    EXPECT_EQ(m_pages.Page(0).m_tEnd, m_tNow.AddSeconds(-65));
}

TEST_F(ScreenPagesTest, RoundAndNotePagesNeverShareTheList)
{
    Note(m_png);
    Note(m_png);
    Note(m_png);
    ASSERT_EQ(m_pages.PageCount(), 3);

    Round("first");
    ASSERT_EQ(m_pages.PageCount(), 1);
    Round("second");
    ASSERT_EQ(m_pages.PageCount(), 1);
    EXPECT_EQ(m_pages.Page(0).m_round.title, "second");

    Note(m_png);
    ASSERT_EQ(m_pages.PageCount(), 1);
    EXPECT_FALSE(m_pages.Page(0).m_bRoundPage);
    EXPECT_EQ(m_nRepaints, 6);
}

TEST_F(ScreenPagesTest, Key79ReplacesTheNotesShownSoFar)
{
    Note(m_png);
    Note(m_png);
    Note(EncodePicture(StripedPicture(7, 3, {RGB(1, 2, 3)}), "PNG"), true);
    ASSERT_EQ(m_pages.PageCount(), 1);
    EXPECT_EQ(m_pages.Page(0).m_picture.GetWidth(), 7);
}

TEST_F(ScreenPagesTest, NotesPastTheLimitPushOutTheOldestAndKeepTheShownOne)
{
    Note(EncodePicture(StripedPicture(9, 9, {RGB(1, 2, 3)}), "PNG"));
    for (int i = 1; i < ScreenPageList::kMaxNotePages; ++i) Note(m_png);
    Clock::Advance(10);
    const ScreenPage* shown = Current();
    ASSERT_EQ(shown, &m_pages.Page(1));
    Note(EncodePicture(StripedPicture(5, 5, {RGB(4, 5, 6)}), "PNG"));
    ASSERT_EQ(m_pages.PageCount(), ScreenPageList::kMaxNotePages);
    EXPECT_EQ(m_pages.Page(0).m_picture.GetWidth(), 4) << "the first note should be the one pushed out";
    EXPECT_EQ(m_pages.Page(ScreenPageList::kMaxNotePages - 1).m_picture.GetWidth(), 5);
    EXPECT_EQ(Current(), shown) << "the note on the screen keeps its turn";
}

TEST_F(ScreenPagesTest, NoteWithoutAttachmentHasAnEmptyPicture)
{
    Note(std::vector<std::uint8_t>{});
    ASSERT_EQ(m_pages.PageCount(), 1);
    EXPECT_TRUE(m_pages.Page(0).m_picture.IsNull());
    EXPECT_EQ(m_nRepaints, 1);
}

TEST_F(ScreenPagesTest, ClearPagesKeepsTheRotationState)
{
    Note(m_png);
    Current();
    const DateTime switched = m_pages.LastSwitch();
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.ClearPages();
    }
    EXPECT_EQ(m_pages.PageCount(), 0);
    EXPECT_EQ(m_pages.LastSwitch(), switched);
}

TEST_F(ScreenPagesTest, EmptyListHasNoCurrentPageAndKeepsItsState)
{
    EXPECT_EQ(Current(), nullptr);
    EXPECT_EQ(m_pages.CurrentIndex(), 0);
    EXPECT_TRUE(m_pages.LastSwitch().IsZero());
}

TEST_F(ScreenPagesTest, OnePageStaysWhileItsTurnMovesOnEveryTenSeconds)
{
    Note(m_png);
    const ScreenPage* only = &m_pages.Page(0);
    EXPECT_EQ(Current(), only);
    EXPECT_EQ(m_pages.LastSwitch(), m_tNow);
    Clock::Advance(9);
    EXPECT_EQ(Current(), only);
    EXPECT_EQ(m_pages.LastSwitch(), m_tNow);
    Clock::Advance(1);
    EXPECT_EQ(Current(), only);
    EXPECT_EQ(m_pages.LastSwitch(), m_tNow.AddSeconds(10));
    EXPECT_EQ(m_pages.CurrentIndex(), 0);
}

TEST_F(ScreenPagesTest, NotesTakeTenSecondTurnsInOrderOfArrival)
{
    Note(m_png);
    EXPECT_EQ(Current(), &m_pages.Page(0));
    Note(m_png);
    Note(m_png);
    Clock::Advance(9);
    EXPECT_EQ(Current(), &m_pages.Page(0));
    for (int expected : {1, 2, 0, 1}) {
        Clock::Advance(1);
        EXPECT_EQ(Current(), &m_pages.Page(expected));
        Clock::Advance(9);
        EXPECT_EQ(Current(), &m_pages.Page(expected));
    }
}

TEST_F(ScreenPagesTest, ShrunkenListStartsAgainAtTheFirstPage)
{
    Note(m_png);
    Current();
    Note(m_png);
    Note(m_png);
    Clock::Advance(10);
    Current();
    Clock::Advance(10);
    Current();
    ASSERT_EQ(m_pages.CurrentIndex(), 2);

    Note(m_png, true);
    EXPECT_EQ(Current(), &m_pages.Page(0));
    EXPECT_EQ(m_pages.CurrentIndex(), 0);
}

TEST_F(ScreenPagesTest, ClockSetBackSwitchesAtOnce)
{
    Note(m_png);
    Current();
    Note(m_png);
    Clock::Advance(3);
    EXPECT_EQ(Current(), &m_pages.Page(0));
    Clock::Advance(-60);
    EXPECT_EQ(Current(), &m_pages.Page(1));
    EXPECT_EQ(m_pages.LastSwitch(), m_tNow.AddSeconds(-57));
    Clock::Advance(-9);
    EXPECT_EQ(Current(), &m_pages.Page(1));
}

struct FormatCase {
    const char* format;
    bool alpha;
};

class PictureFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PictureFormatTest, DecodesFromTheAttachmentBytes)
{
    QImage source = StripedPicture(40, 30, {RGB(200, 10, 10), RGB(10, 200, 10)});
    if (GetParam().alpha) {
        source = source.convertToFormat(QImage::Format_ARGB32);
        source.setPixel(0, 0, qRgba(0, 0, 0, 0));
    }
    const std::vector<std::uint8_t> bytes = EncodePicture(source, GetParam().format);
    ScreenPage page;
    page.LoadPicture(bytes.data(), static_cast<int>(bytes.size()));
    ASSERT_FALSE(page.m_picture.IsNull()) << GetParam().format;
    EXPECT_EQ(page.m_picture.GetWidth(), 40);
    EXPECT_EQ(page.m_picture.GetHeight(), 30);
    EXPECT_EQ(page.m_picture.HasAlpha(), GetParam().alpha);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFormatTest,
                         ::testing::Values(FormatCase{"PNG", false}, FormatCase{"PNG", true},
                                           FormatCase{"JPEG", false}, FormatCase{"BMP", false},
                                           FormatCase{"TIFF", false},
                                           FormatCase{"WEBP", false}));

// Qt writes no GIF; this is the smallest one there is, a single red pixel.
TEST(LoadPicture, DecodesGif)
{
    const std::vector<std::uint8_t> gif{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                        0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                        0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    ScreenPage page;
    page.LoadPicture(gif.data(), static_cast<int>(gif.size()));
    ASSERT_FALSE(page.m_picture.IsNull());
    EXPECT_EQ(page.m_picture.GetWidth(), 1);
    EXPECT_EQ(page.m_picture.GetHeight(), 1);
}

// A BMP header that announces 40000 x 40000 pixels (6.4 GB decoded) over a few bytes.
std::vector<std::uint8_t> OversizedBmp()
{
    std::vector<std::uint8_t> bmp(54 + 16, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 40000);
    put32(22, 40000);
    bmp[26] = 1;
    bmp[28] = 24;
    return bmp;
}

TEST(LoadPicture, UndecodableOrOversizedPicturesLeaveThePictureEmpty)
{
    const std::vector<std::uint8_t> png = EncodePicture(StripedPicture(40, 30, {RGB(1, 2, 3)}), "PNG");
    const std::vector<std::vector<std::uint8_t>> cases{
        {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'},
        std::vector<std::uint8_t>(png.begin(), png.begin() + 30),
        OversizedBmp(),
    };
    for (const auto& bytes : cases) {
        ScreenPage page;
        page.LoadPicture(png.data(), static_cast<int>(png.size()));
        ASSERT_FALSE(page.m_picture.IsNull());
        page.LoadPicture(bytes.data(), static_cast<int>(bytes.size()));
        EXPECT_TRUE(page.m_picture.IsNull()) << bytes.size();
    }
}

}  // namespace
