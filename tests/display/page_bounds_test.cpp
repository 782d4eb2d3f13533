// What a peer can make a page cost: pictures within the client size and a memory budget,
// texts cut, the board list parsed once, a bad text reported once; and when a repaint
// can leave the composition out.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "display/pages/board_list.h"
#include "whole_composition.h"
#include "display/pages/page_text.h"
#include "display/pages/screen_pages.h"
#include "display/drawing/screen_refresh.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "picture_samples.h"
#include "os/clock.h"
#include "render_support.h"

namespace {

std::unique_ptr<CommMsg_base> NoteMsg(const std::vector<std::uint8_t>& picture)
{
    auto msg = std::make_unique<CommMsg_base>();
    msg->ResetMsg(MSGID_NOTE_PAGE);
    if (!picture.empty()) Attach(*msg, picture);
    return msg;
}

class PageBounds : public ::testing::Test {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override { Clock::UseSystemTime(); }

    void Put(const CommMsg_base& msg, SIZE fitTo = {})
    {
        std::unique_ptr<ScreenPage> page = ScreenPageList::MakeNotePage(msg, fitTo);
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.PutNotePage(std::move(page), false);
    }
    std::vector<int> Widths()
    {
        std::vector<int> widths;
        for (int i = 0; i < m_pages.PageCount(); ++i) widths.push_back(m_pages.Page(i).m_picture.GetWidth());
        return widths;
    }
    const ScreenPage* Current()
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        return m_pages.CurrentPage();
    }
    qint64 HeldBytes()
    {
        qint64 sum = 0;
        for (int i = 0; i < m_pages.PageCount(); ++i) sum += m_pages.Page(i).m_picture.SizeInBytes();
        EXPECT_EQ(sum, m_pages.PictureBytes());
        return sum;
    }

    ScreenPageList m_pages;
};

TEST_F(PageBounds, FiveHugeNotesAreKeptAtScreenSizeWithinTheBudget)
{
    const std::vector<std::uint8_t> png = TwoToneMonoPng(QSize(8192, 8192), qRgb(255, 1, 254), qRgb(10, 200, 30));
    ASSERT_LT(png.size(), 64u * 1024);
    for (int i = 0; i < 5; ++i) Put(*NoteMsg(png), SIZE{1920, 1080});
    ASSERT_EQ(m_pages.PageCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(m_pages.Page(i).m_picture.GetWidth(), 1920);
        EXPECT_EQ(m_pages.Page(i).m_picture.GetHeight(), 1080);
    }
    EXPECT_EQ(HeldBytes(), 5 * qint64{1920} * 1080 * 4);
}

TEST_F(PageBounds, OldestNotesMakeRoomForTheBudgetButTheShownOneKeepsItsTurn)
{
    // Each about 32 MiB decoded: eight fit the budget, a ninth does not.
    const int side = 2896;
    const auto Note = [&](int width) { return TwoToneMonoPng(QSize(width, side), qRgb(1, 2, 3), qRgb(4, 5, 6)); };
    std::vector<int> sent;
    for (int i = 0; i < 8; ++i) {
        sent.push_back(side - i);
        Put(*NoteMsg(Note(side - i)));
    }
    ASSERT_EQ(Widths(), sent);
    ASSERT_EQ(Current(), &m_pages.Page(1));  // the first call switches once

    Put(*NoteMsg(Note(side - 8)));
    EXPECT_LE(HeldBytes(), ScreenPageList::kPictureBudgetBytes);
    std::vector<int> after(sent.begin() + 1, sent.end());
    after.push_back(side - 8);
    EXPECT_EQ(Widths(), after) << "the oldest went";
    EXPECT_EQ(m_pages.PageCount(), 8);
    EXPECT_EQ(Current()->m_picture.GetWidth(), side - 1) << "the note on the screen stays on the screen";

    // Now the oldest note is the one shown: the next oldest goes instead.
    Put(*NoteMsg(Note(side - 9)));
    EXPECT_LE(HeldBytes(), ScreenPageList::kPictureBudgetBytes);
    EXPECT_EQ(m_pages.Page(0).m_picture.GetWidth(), side - 1);
    EXPECT_EQ(m_pages.Page(1).m_picture.GetWidth(), side - 3);
    EXPECT_EQ(Current()->m_picture.GetWidth(), side - 1);
}

TEST_F(PageBounds, RoundPageAndClearCountTheirPicture)
{
    CommMsg_base round;
    round.ResetMsg(MSGID_ROUND_PAGE);
    Attach(round, EncodePicture(StripedPicture(50, 40, {RGB(1, 2, 3)}), "PNG"));
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.PutRoundPage(ScreenPageList::MakeRoundPage(round, SIZE{20, 1080}));
        EXPECT_EQ(m_pages.PictureBytes(), 20 * 40 * 4);
        m_pages.ClearPages();
        EXPECT_EQ(m_pages.PictureBytes(), 0);
    }
}

struct CutCase {
    const char* name;
    std::string text;
    std::size_t maxBytes;
    std::size_t kept;
};

class CutAtCharacterTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutAtCharacterTest, NeverSplitsASequence)
{
    const std::string cut = CutAtCharacter(GetParam().text, GetParam().maxBytes);
    EXPECT_EQ(cut.size(), GetParam().kept);
    EXPECT_EQ(cut, GetParam().text.substr(0, GetParam().kept));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutAtCharacterTest,
    ::testing::Values(CutCase{"ShortStays", "abc", 5, 3}, CutCase{"AsciiAtTheLimit", "abcdef", 4, 4},
                      CutCase{"TwoByteSplitMovesBack", "a\xC3\xA9", 2, 1},
                      CutCase{"ThreeByteEndsExactly", "\xE4\xB8\xAD\xE4\xB8\xAD", 3, 3},
                      CutCase{"ThreeByteSplitMovesBack", "\xE4\xB8\xAD\xE4\xB8\xAD", 5, 3},
                      CutCase{"FourByteSplitMovesBack", "a\xF0\x9F\x82\xA1", 4, 1},
                      CutCase{"RunOfContinuationBytesIsCutWhereItStands", "a\x80\x80\x80\x80\x80", 5, 5}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST_F(PageBounds, TenMegabyteTextsAreCutWhenThePageIsMade)
{
    std::string title;
    for (int i = 0; i < 3'500'000; ++i) title += "\xE4\xB8\xAD";  // 中, three bytes
    CommMsg_base msg;
    msg.ResetMsg(MSGID_ROUND_PAGE);
    msg["1"] = title;
    msg["2"] = std::string(10'000'000, 'x');
    msg["16"] = title;
    msg["14"] = std::string(10'000'000, '7');
    const std::unique_ptr<ScreenPage> page = ScreenPageList::MakeRoundPage(msg);
    EXPECT_EQ(page->m_round.title.size(), kMaxPageTextBytes / 3 * 3);
    EXPECT_EQ(page->m_txtTitle.size(), qsizetype{kMaxPageTextBytes / 3 + 2});
    EXPECT_EQ(page->m_round.subtitle.size(), kMaxPageTextBytes);
    EXPECT_EQ(page->m_round.barCaption.size(), kMaxPageTextBytes / 3 * 3);
    EXPECT_EQ(page->m_round.boards.size(), kMaxPageTextBytes);
    ASSERT_EQ(page->m_boards.size(), 1u);
    EXPECT_EQ(page->m_boards[0], INT_MAX);
}

TEST(BoardList, ThreeHundredThousandFullWidthCommasGiveTheBoardsBetweenThem)
{
    std::string text = "１～３";
    for (int i = 0; i < 300'000; ++i) text += "，";
    text += "５；７";
    EXPECT_EQ(ParseBoardList(text, false), (std::vector<int>{1, 2, 3, 5, 7}));
    const std::string normal = NormaliseFullWidth(text);
    EXPECT_EQ(normal, "1~3" + std::string(300'000, ',') + "5;7");
}

TEST(BoardList, IsParsedWhenThePageIsMade)
{
    ScreenPage page;
    ReceivedRound fields;
    fields.boards = "９～６，２";
    page.SetRoundFields(fields);
    EXPECT_EQ(page.m_boards, (std::vector<int>{9, 8, 7, 6, 2}));
    EXPECT_EQ(page.m_txtBoards, u"９～６，２");
}

int ConversionErrors(const std::string& text)
{
    const std::regex line("Conversion error");
    return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), line), std::sregex_iterator()));
}

// A lone surrogate, as "\udc00" in the message's JSON arrives: no valid UTF-8.
TEST_F(PageBounds, ABadTextIsReportedOncePerPageNotPerPaint)
{
    CommMsg_base msg;
    msg.FromJsonText(R"({"pub_MsgID":303,"1":"\udc00","11":600,"13":1200,"16":"ok"})");
    ::testing::internal::CaptureStderr();
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.PutRoundPage(ScreenPageList::MakeRoundPage(msg));
    }
    QImage kept = NewCanvas(320, 240, RGB(0, 0, 0));
    for (int i = 0; i < 10; ++i) {
        ComposeFrame(kept, QSize(320, 240), m_pages, ScreenState{}, Clock::Now());
        Clock::Advance(1);
    }
    EXPECT_EQ(ConversionErrors(::testing::internal::GetCapturedStderr()), 1);
    EXPECT_TRUE(m_pages.Page(0).m_txtTitle.empty());
    ASSERT_TRUE(m_pages.Page(0).m_txtCaption.has_value());
    EXPECT_EQ(*m_pages.Page(0).m_txtCaption, u"ok");
}

TEST_F(PageBounds, BadCaptionLeavesTheWholeTimeLineEmptyAsBefore)
{
    ScreenPage page;
    ReceivedRound fields;
    fields.barCaption = "\xED\xB0\x80";
    ::testing::internal::CaptureStderr();
    page.SetRoundFields(fields);
    EXPECT_EQ(ConversionErrors(::testing::internal::GetCapturedStderr()), 1);
    EXPECT_FALSE(page.m_txtCaption.has_value());
}

// Each change that alters the picture is seen by the next tick; nothing else is.
struct KeyCase {
    const char* name;
    std::function<void(ScreenPageList&, SIZE&, ScreenState&)> change;
    bool differs;
};

class TickChangeTest : public ::testing::TestWithParam<KeyCase> {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override { Clock::UseSystemTime(); }
};

TEST_P(TickChangeTest, FindsAChangeExactlyWhenThePictureChanges)
{
    ScreenPageList pages;
    SIZE client{1920, 1080};
    ScreenState state{false, {1920, 1080}, {}};
    ScreenRefresh refresh;
    ASSERT_FALSE(refresh.Tick(client, pages, state, Clock::Now()).empty());
    GetParam().change(pages, client, state);
    EXPECT_EQ(!refresh.Tick(client, pages, state, Clock::Now()).empty(), GetParam().differs);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TickChangeTest,
    ::testing::Values(
        KeyCase{"Nothing", [](ScreenPageList&, SIZE&, ScreenState&) {}, false},
        KeyCase{"ANewSecondOfTheInformationScreen", [](ScreenPageList&, SIZE&, ScreenState&) { Clock::Advance(1); }, false},
        KeyCase{"ANote",
                [](ScreenPageList& pages, SIZE&, ScreenState&) {
                    const std::lock_guard<std::mutex> lock(pages.Mutex());
                    pages.OnNotePageMessage(*NoteMsg({}));
                },
                true},
        KeyCase{"AClearOfNothing",
                [](ScreenPageList& pages, SIZE&, ScreenState&) {
                    const std::lock_guard<std::mutex> lock(pages.Mutex());
                    pages.ClearPages();
                },
                false},
        KeyCase{"TheClientSize", [](ScreenPageList&, SIZE& client, ScreenState&) { client = SIZE{1280, 720}; },
                true},
        KeyCase{"FullScreen", [](ScreenPageList&, SIZE&, ScreenState& state) { state.bFullScreen = true; }, true},
        KeyCase{"Footer", [](ScreenPageList&, SIZE&, ScreenState& state) { state.footer.bListening = false; },
                true},
        KeyCase{"WarningStages",
                [](ScreenPageList&, SIZE&, ScreenState& state) { state.timeSignals.stages.push_back(WarnStage{60}); },
                true},
        KeyCase{"OvertimeBlink",
                [](ScreenPageList&, SIZE&, ScreenState& state) { state.timeSignals.bBlinkOvertime = true; }, true},
        KeyCase{"ReportedSize", [](ScreenPageList&, SIZE&, ScreenState& state) { state.reportedSize.cy = 1078; },
                true},
        KeyCase{"AReadOfThePageShown",
                [](ScreenPageList& pages, SIZE&, ScreenState&) {
                    const std::lock_guard<std::mutex> lock(pages.Mutex());
                    pages.CurrentPage();
                },
                false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
