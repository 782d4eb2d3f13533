#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "display/drawing/draw_kit.h"
#include "display/drawing/draw_screen.h"
#include "display/drawing/round_progress.h"
#include "display/pages/screen_pages.h"
#include "os/clock.h"
#include "draw/gdi_dc.h"
#include "render_support.h"

namespace {

constexpr COLORREF kGround = RGB(72, 96, 139);
constexpr COLORREF kTitle = RGB(250, 200, 40);
constexpr COLORREF kClock = RGB(248, 248, 248);
constexpr COLORREF kOvertime = RGB(255, 64, 64);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kTrack = RGB(70, 105, 153);
constexpr COLORREF kTrackFrame = RGB(107, 135, 173);
constexpr COLORREF kFill = RGB(3, 160, 25);
constexpr COLORREF kFillFrame = RGB(53, 179, 71);

// The panel colour over the plain background, as the translucent fill leaves it.
COLORREF DarkGround()
{
    QImage image = NewCanvas(4, 4, kGround);
    QtDC dc(image);
    FillTranslucent(dc, RECT{0, 0, 4, 4});
    return PixelAt(image, 0, 0);
}

// A 1920 x 1080 round page drawn through the composition, at a fixed time.
class RoundPageRender : public RenderTest {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override
    {
        Clock::UseSystemTime();
        RenderTest::TearDown();
    }

    static ReceivedRound Fields(int remaining)
    {
        ReceivedRound f;
        f.title = "Round 3";
        f.subtitle = "Open pairs";
        f.remainingSeconds = remaining;
        f.roundSeconds = 3600;
        f.boards = "1~8";
        f.barCaption = "Round 3";
        f.clockX = 50;
        f.clockY = 50;
        f.clockHeight = 40;
        f.clrTitle = kTitle;
        f.clrClock = kClock;
        f.clrOvertime = kOvertime;
        f.language = 1;
        return f;
    }

    QImage Render(const ReceivedRound& fields, const std::string& name, int width = 1920, int height = 1080)
    {
        {
            const std::lock_guard<std::mutex> lock(m_pages.Mutex());
            m_pages.AddRoundPage(fields);
        }
        QImage image = NewCanvas(width, height, RGB(0, 0, 0));
        {
            QtDC dc(image);
            dc.SetRecord(&m_record);
            DrawScreen(dc, RECT{0, 0, width, height}, m_pages, ScreenState{false, {width, height}, {}}, Clock::Now());
        }
        Keep(image, name);
        return image;
    }

    ScreenPageList m_pages;
    // What the last Render drew.
    DrawingRecord m_record;
};

TEST_F(RoundPageRender, TitlesFillTheTopTwoSixthsIn153PixelFont)
{
    const QImage image = Render(Fields(3000), "titles");
    const RECT first{0, 0, 1920, 180};
    const RECT second{0, 180, 1920, 360};
    const unsigned centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    EXPECT_EQ(InkBox(image, kTitle, QRect(0, 0, 1920, 180)), ReferenceInk(image.size(), u" Round 3 ", 153, first, centred));
    EXPECT_EQ(InkBox(image, kTitle, QRect(0, 180, 1920, 180)),
              ReferenceInk(image.size(), u" Open pairs ", 153, second, centred));
    EXPECT_EQ(CountColour(image, kTitle, QRect(0, 360, 1920, 720)), 0);
    EXPECT_EQ(PixelAt(image, 5, 5), kGround);
}

TEST_F(RoundPageRender, TooLongTitleShrinksFrom70PercentOfTheBand)
{
    ReceivedRound fields = Fields(3000);
    fields.title = "The longest title a tournament director ever typed";
    const QImage image = Render(fields, "long-title");
    const std::u16string text = u" The longest title a tournament director ever typed ";
    const int fitted = FittedHeight(TextWidth(text, 153), 1920, 126);
    EXPECT_LE(fitted, 119);
    EXPECT_EQ(InkBox(image, kTitle, QRect(0, 0, 1920, 180)),
              ReferenceInk(image.size(), text, fitted, RECT{0, 0, 1920, 180}, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, BottomBarSpansTheLowest162RowsWithCaptionAfterAThirdOfItsHeight)
{
    const QImage image = Render(Fields(3000), "bottom-bar");
    const COLORREF dark = DarkGround();
    EXPECT_EQ(PixelAt(image, 5, 917), kGround);
    EXPECT_EQ(PixelAt(image, 5, 918), dark);
    EXPECT_EQ(PixelAt(image, 5, 1078), dark);
    EXPECT_EQ(PixelAt(image, 5, 1079), kGround);

    const QRect captionArea(0, 918, 1000, 162);
    const QRect caption = InkBox(image, kWhite, captionArea);
    EXPECT_GE(caption.left(), 54);
    EXPECT_EQ(caption, ReferenceInk(image.size(), u"Round 3 10:00", 113, RECT{54, 918, 1974, 1080},
                                    DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, TopBarSpansTheHighest162Rows)
{
    ReceivedRound fields = Fields(3000);
    fields.barAtTop = true;
    const QImage image = Render(fields, "top-bar");
    const COLORREF dark = DarkGround();
    EXPECT_EQ(PixelAt(image, 5, 0), dark);
    EXPECT_EQ(PixelAt(image, 5, 160), dark);
    EXPECT_EQ(PixelAt(image, 5, 161), kGround);
    EXPECT_EQ(PixelAt(image, 5, 1000), kGround);
}

TEST_F(RoundPageRender, NoCaptionAndNoBoardsLeaveOutTheBar)
{
    ReceivedRound fields = Fields(3000);
    fields.barCaption.clear();
    fields.boards.clear();
    const QImage image = Render(fields, "no-bar");
    EXPECT_EQ(PixelAt(image, 5, 1000), kGround);
    EXPECT_EQ(CountColour(image, kWhite), 0);
}

struct ClockBoxCase {
    int clockHeight;
    int font;     // asked for by the clamped height
    bool bFits;   // "50:00" in that font fits on the screen
};

class ClockBoxRender : public RoundPageRender, public ::testing::WithParamInterface<ClockBoxCase> {};

TEST_P(ClockBoxRender, BoxIs86PercentOfTheClampedOrFittedFontCentredOnTheClockPoint)
{
    ReceivedRound fields = Fields(3000);
    fields.barCaption.clear();
    fields.boards.clear();
    fields.clockBox = true;
    fields.clockHeight = GetParam().clockHeight;
    const QImage image = Render(fields, "clock-box");

    // A clock wider than the screen is drawn just small enough to fit, and no smaller.
    const int F = LargestFittingHeight(u"50:00", GetParam().font, QSize(1920, 1080));
    EXPECT_EQ(F == GetParam().font, GetParam().bFits) << F;
    const int bw = TextWidth(u"50:00", F) + F * 20 / 100;
    const int bhc = F * 86 / 100;
    const QRect box(960 - bw / 2, 540 - bhc / 2, bw, bhc);
    // The panel leaves its last column and row alone, and the screen clips it.
    const QRect panel = QRect(box.left(), box.top(), bw - 1, bhc - 1) & image.rect();
    EXPECT_EQ(InkBox(image, DarkGround()), panel);
    EXPECT_EQ(InkBox(image, kClock),
              ReferenceInk(image.size(), u"50:00", F,
                           RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1},
                           DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

INSTANTIATE_TEST_SUITE_P(Heights, ClockBoxRender,
                         ::testing::Values(ClockBoxCase{40, 432, true}, ClockBoxCase{2, 54, true},
                                           ClockBoxCase{150, 1080, false}));

TEST_F(RoundPageRender, ClockPlacedPastTheCornerMovesInwardsJustEnoughAndKeepsItsSize)
{
    ReceivedRound fields = Fields(3000);
    fields.barCaption.clear();
    fields.boards.clear();
    fields.clockX = 150;
    fields.clockY = -20;
    fields.clockHeight = 20;
    const QImage image = Render(fields, "clock-corner");

    // Clamped to the top right corner (1920, 0), where the text would hang off two edges.
    const std::vector<DrawnText> texts = TextsOf(m_record);
    ASSERT_EQ(texts.size(), 3u);
    const DrawnText& clock = texts.back();
    EXPECT_EQ(clock.text, u"50:00");
    EXPECT_EQ(clock.cell, QRect(1920 - TextWidth(clock.text, 216), 0, TextWidth(clock.text, 216), CellHeightOf(216)));
    EXPECT_EQ(InkBox(image, kClock),
              ReferenceInk(image.size(), clock.text, 216,
                           RECT{clock.cell.left(), clock.cell.top(), clock.cell.right() + 1, clock.cell.bottom() + 1},
                           DT_NOCLIP | DT_SINGLELINE));
}

TEST_F(RoundPageRender, ProgressBoxFillsTheShareOfTheCurrentBoardsSlot)
{
    const QImage image = Render(Fields(3000), "progress");
    const int cx = TextWidth(u"No 2 board", 113);
    const int left = 1920 - std::max(cx + 113 / 2, 3 * 113);
    const int right = ProgressFillRight(left, 1920, 152, 448);
    ASSERT_EQ(right - left, (1920 - left) * 152 / 448);

    // Row 930 lies below the boxes' 8-pixel top frames and above the label.
    const int y = 930;
    EXPECT_EQ(PixelAt(image, left - 1, y), DarkGround());
    EXPECT_EQ(PixelAt(image, left, y), kFillFrame);
    EXPECT_EQ(PixelAt(image, left + 7, y), kFillFrame);
    EXPECT_EQ(PixelAt(image, left + 8, y), kFill);
    EXPECT_EQ(PixelAt(image, right - 9, y), kFill);
    EXPECT_EQ(PixelAt(image, right - 8, y), kFillFrame);
    EXPECT_EQ(PixelAt(image, right - 1, y), kFillFrame);
    EXPECT_EQ(PixelAt(image, right, y), kTrack);
    EXPECT_EQ(PixelAt(image, 1911, y), kTrack);
    EXPECT_EQ(PixelAt(image, 1912, y), kTrackFrame);
    EXPECT_EQ(PixelAt(image, 1919, y), kTrackFrame);
    EXPECT_EQ(PixelAt(image, 1800, 918 + 7), kTrackFrame);
    EXPECT_EQ(PixelAt(image, 1800, 918 + 8), kTrack);

    EXPECT_EQ(InkBox(image, kWhite, QRect(left, 918, 1920 - left, 162)),
              ReferenceInk(image.size(), u"No 2 board", 113, RECT{left, 918, 1920, 1080},
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(InkBox(image, kClock, QRect(0, 0, 1920, 918)),
              ReferenceInk(image.size(), u"50:00", 432,
                           RECT{960 - (TextWidth(u"50:00", 432) + 86) / 2, 540 - 185,
                                960 - (TextWidth(u"50:00", 432) + 86) / 2 +
                                    TextWidth(u"50:00", 432) + 86,
                                540 - 185 + 371},
                           DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, ChineseLabelFollowsThePagesLanguage)
{
    ReceivedRound fields = Fields(3000);
    fields.language = 0;
    const QImage image = Render(fields, "label-zh");
    const int cx = TextWidth(u"第2副", 113);
    const int left = 1920 - std::max(cx + 113 / 2, 3 * 113);
    EXPECT_EQ(InkBox(image, kWhite, QRect(left, 918, 1920 - left, 162)),
              ReferenceInk(image.size(), u"第2副", 113, RECT{left, 918, 1920, 1080},
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, BeforeTheStartTheClockIsFramedAndTheBoxShowsTheBoardText)
{
    const QImage image = Render(Fields(3700), "not-begun");
    EXPECT_GT(CountColour(image, kClock), 1000);
    EXPECT_EQ(CountColour(image, kOvertime), 0);
    EXPECT_GT(CountColour(image, kTrack), 1000);
    EXPECT_EQ(CountColour(image, kFill), 0);
    EXPECT_EQ(CountColour(image, kFillFrame), 0);
    const int cx = TextWidth(u"1~8", 113);
    const int left = 1920 - std::max(cx + 113 / 2, 3 * 113);
    EXPECT_EQ(InkBox(image, kWhite, QRect(left, 918, 1920 - left, 162)),
              ReferenceInk(image.size(), u"1~8", 113, RECT{left, 918, 1920, 1080},
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    const int bw = TextWidth(u"=01:40=", 432) + 86;
    EXPECT_EQ(InkBox(image, kClock),
              ReferenceInk(image.size(), u"=01:40=", 432,
                           RECT{960 - bw / 2, 355, 960 - bw / 2 + bw, 726},
                           DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, AfterTheEndTheClockTurnsOvertimeAndTheBoxGoes)
{
    const QImage image = Render(Fields(-65), "overtime");
    EXPECT_EQ(CountColour(image, kClock), 0);
    const int bw = TextWidth(u"-01:05", 432) + 86;
    EXPECT_EQ(InkBox(image, kOvertime),
              ReferenceInk(image.size(), u"-01:05", 432, RECT{960 - bw / 2, 355, 960 - bw / 2 + bw, 726},
                           DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(CountColour(image, kTrack), 0);
    EXPECT_EQ(CountColour(image, kTrackFrame), 0);
    EXPECT_EQ(InkBox(image, kWhite), ReferenceInk(image.size(), u"Round 3 61:05", 113,
                                                  RECT{54, 918, 1974, 1080}, DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, ZeroSecondSlotDrawsNoProgressBox)
{
    ReceivedRound fields = Fields(11);
    fields.roundSeconds = 16;
    const QImage image = Render(fields, "zero-slot");
    EXPECT_EQ(CountColour(image, kTrack), 0);
    EXPECT_EQ(CountColour(image, kTrackFrame), 0);
    EXPECT_GT(CountColour(image, kWhite), 100);
}

TEST_F(RoundPageRender, ClockRunsOnBetweenRepaints)
{
    ReceivedRound fields = Fields(3000);
    const QImage first = Render(fields, "first");
    Clock::Advance(60);
    QImage later = NewCanvas(1920, 1080, RGB(0, 0, 0));
    {
        QtDC dc(later);
        DrawScreen(dc, RECT{0, 0, 1920, 1080}, m_pages, ScreenState{false, {1920, 1080}, {}}, Clock::Now());
    }
    Keep(later, "later");
    const int bw = TextWidth(u"49:00", 432) + 86;
    EXPECT_EQ(InkBox(later, kClock),
              ReferenceInk(later.size(), u"49:00", 432, RECT{960 - bw / 2, 355, 960 - bw / 2 + bw, 726},
                           DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

TEST_F(RoundPageRender, BackgroundPictureIsStretchedSmoothlyOverThePage)
{
    ReceivedRound fields = Fields(3000);
    fields.barCaption.clear();
    fields.boards.clear();
    const std::vector<std::uint8_t> png = EncodePicture(StripedPicture(2, 1, {RGB(0, 0, 0), RGB(200, 200, 200)}), "PNG");
    fields.pictureData = png.data();
    fields.pictureLength = static_cast<int>(png.size());
    const QImage image = Render(fields, "picture");
    EXPECT_EQ(PixelAt(image, 0, 1079), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(image, 1919, 1079), RGB(200, 200, 200));
    const int mid = GetRValue(PixelAt(image, 960, 1079));
    EXPECT_GT(mid, 40);
    EXPECT_LT(mid, 160);
    EXPECT_EQ(CountColour(image, kGround), 0);
}

TEST_F(RoundPageRender, PutsBackTheFontAndTextColourItFound)
{
    {
        const std::lock_guard<std::mutex> lock(m_pages.Mutex());
        m_pages.AddRoundPage(Fields(3000));
    }
    QImage image = NewCanvas(1920, 1080, RGB(0, 0, 0));
    QtDC dc(image);
    CFont* found = dc.GetCurrentFont();
    dc.SetTextColor(RGB(1, 2, 3));
    DrawScreen(dc, RECT{0, 0, 1920, 1080}, m_pages, ScreenState{}, Clock::Now());
    EXPECT_EQ(dc.GetCurrentFont(), found);
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetStretchBltMode(), BLACKONWHITE);
}

}  // namespace
