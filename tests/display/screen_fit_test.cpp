// Every screen the display draws keeps its texts whole on the screens that rooms really
// have: checked by where the drawing layer put each text, not by guessing from pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "display/drawing/draw_screen.h"
#include "display/drawing/info_screen.h"
#include "display/pages/screen_pages.h"
#include "os/clock.h"
#include "draw/gdi_dc.h"
#include "render_support.h"
#include "text/wide_text.h"

namespace {

constexpr COLORREF kClock = RGB(248, 248, 248);
constexpr COLORREF kOvertime = RGB(255, 64, 64);
constexpr COLORREF kTitle = RGB(250, 200, 40);

struct ScreenCase {
    int width;
    int height;
};

const std::vector<ScreenCase> kScreens{{1920, 1080}, {1366, 768}, {1280, 1024}, {1080, 1920}, {800, 480}, {3840, 2160}};

struct PageCase {
    const char* name;
    const char* title;
    const char* subtitle;
    const char* caption;
    const char* boards;
    int remaining;
    int roundSeconds;
    int clockX;
    int clockY;
    int clockHeight;
    const char* clockText;  // what the big clock must show, every character of it
};

const std::vector<PageCase> kPages{
    {"LongTitles", "The Fourteenth Spring Congress of the Northern Clubs: Open Pairs Final",
     "第十四届北方俱乐部春季大会 公开双人赛决赛 第二节", "Round 3", "1~8", 3000, 3600, 50, 50, 40, "50:00"},
    {"LongCaptionWithBox", "Round 3", "Open pairs",
     "Round 3 — change tables at the bell, then wait for the director", "1~8", 3000, 3600, 50, 50, 40, "50:00"},
    {"HundredMinutes", "Round 3", "Open pairs", "Round 3", "1~8", 6000, 7200, 50, 50, 40, "100:00"},
    {"HundredMinutesOver", "Round 3", "Open pairs", "Round 3", "1~8", -6000, 3600, 50, 50, 40, "-100:00"},
    {"NotBegun", "Round 3", "Open pairs", "Round 3 — change tables at the bell", "1~8", 3700, 3600, 50, 50, 40,
     "=01:40="},
    {"ClockAtZero", "Round 3", "Open pairs", "Round 3", "1~8", 3000, 3600, 0, 0, 40, "50:00"},
    {"ClockAtHundred", "Round 3", "Open pairs", "Round 3", "1~8", -65, 3600, 100, 100, 40, "-01:05"},
    {"HeightFive", "Round 3", "Open pairs", "Round 3", "1~8", 3000, 3600, 50, 50, 5, "50:00"},
    {"HeightHundred", "Round 3", "Open pairs", "Round 3", "1~8", -95, 3600, 50, 50, 100, "-01:35"},
};

// Each drawn text lies inside the screen and, where it was clipped, inside its clip, so
// no character of it is lost.
void ExpectWholeOnScreen(const std::vector<DrawnText>& texts, QSize screen)
{
    const QRect area(QPoint(0, 0), screen);
    for (const DrawnText& t : texts) {
        EXPECT_TRUE(area.contains(t.cell)) << WideToUtf8(t.text) << " drawn at " << t.cell.x() << "," << t.cell.y()
                                           << " " << t.cell.width() << "x" << t.cell.height();
        if (!t.clip.isNull()) {
            EXPECT_TRUE(t.clip.contains(t.cell)) << WideToUtf8(t.text) << " is cut by its rectangle";
        }
    }
}

class RoundPageFit : public RenderTest, public ::testing::WithParamInterface<std::tuple<ScreenCase, PageCase>> {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override
    {
        Clock::UseSystemTime();
        RenderTest::TearDown();
    }

    static ReceivedRound Fields(const PageCase& page)
    {
        ReceivedRound f;
        f.title = page.title;
        f.subtitle = page.subtitle;
        f.barCaption = page.caption;
        f.boards = page.boards;
        f.remainingSeconds = page.remaining;
        f.roundSeconds = page.roundSeconds;
        f.clockX = page.clockX;
        f.clockY = page.clockY;
        f.clockHeight = page.clockHeight;
        f.clrTitle = kTitle;
        f.clrClock = kClock;
        f.clrOvertime = kOvertime;
        f.language = 1;
        return f;
    }
};

TEST_P(RoundPageFit, EveryTextIsWholeOnTheScreenAndTheCaptionStaysLeftOfTheBox)
{
    const auto& [screen, page] = GetParam();
    ScreenPageList pages;
    {
        const std::lock_guard<std::mutex> lock(pages.Mutex());
        pages.AddRoundPage(Fields(page));
    }
    QImage image = NewCanvas(screen.width, screen.height, RGB(0, 0, 0));
    DrawingRecord record;
    {
        QtDC dc(image);
        dc.SetRecord(&record);
        DrawScreen(dc, RECT{0, 0, screen.width, screen.height}, pages,
                   ScreenState{false, {screen.width, screen.height}, {}}, Clock::Now());
    }
    Keep(image, "page");
    const std::vector<DrawnText> texts = TextsOf(record);
    ExpectWholeOnScreen(texts, image.size());

    // The clock keeps its asked size while that fits, and is otherwise just small enough.
    const std::u16string clockText = Utf8ToWide(page.clockText);
    const auto clock = std::find_if(texts.begin(), texts.end(),
                                    [](const DrawnText& t) { return t.clrText == kClock || t.clrText == kOvertime; });
    ASSERT_NE(clock, texts.end());
    EXPECT_EQ(clock->text, clockText);
    const int asked = screen.height * page.clockHeight / 100;
    EXPECT_EQ(clock->cell.height(), CellHeightOf(LargestFittingHeight(clockText, asked, image.size())));

    // The caption and the elapsed time are drawn, beside the box and never under it.
    const std::u16string caption = Utf8ToWide(page.caption);
    const auto captionText = std::find_if(texts.begin(), texts.end(),
                                          [&](const DrawnText& t) { return t.text.starts_with(caption + u" "); });
    ASSERT_NE(captionText, texts.end());
    const auto label = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) {
        return &t != &*captionText && t.clip.top() == captionText->clip.top() && t.clip.right() == image.width() - 1;
    });
    if (page.remaining >= 0) {
        ASSERT_NE(label, texts.end()) << "no progress box";
        EXPECT_LE(captionText->clip.right(), label->clip.left() - 1);
        EXPECT_LE(captionText->cell.right(), label->clip.left() - 1);
    } else {
        EXPECT_EQ(label, texts.end()) << "a progress box after the end of the round";
    }
}

std::string ScreenName(const ScreenCase& screen)
{
    return std::to_string(screen.width) + "x" + std::to_string(screen.height);
}

std::string PageTestName(const ::testing::TestParamInfo<std::tuple<ScreenCase, PageCase>>& info)
{
    return ScreenName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(ScreensAndPages, RoundPageFit,
                         ::testing::Combine(::testing::ValuesIn(kScreens), ::testing::ValuesIn(kPages)), PageTestName);

struct FooterCase {
    const char* name;
    InfoFooter footer;
    int language;
    const char* expected;  // the bottom band's text, or empty for none
};

const std::vector<FooterCase> kFooters{
    {"StandardPort", InfoFooter{9977, true}, 1, ""},
    {"OtherPort", InfoFooter{40123, true}, 1, "Port=40123"},
    {"NotListening", InfoFooter{9977, false}, 1, "Not listening on port 9977"},
    {"NotListeningChinese", InfoFooter{9977, false}, 0, "无法监听端口9977"},
    {"OtherPortChinese", InfoFooter{40123, true}, 0, "端口=40123"},
};

class InfoScreenFit : public RenderTest, public ::testing::WithParamInterface<std::tuple<ScreenCase, FooterCase>> {};

TEST_P(InfoScreenFit, EveryLineIsWholeInItsBandAndTheFooterSaysWhatItMust)
{
    const auto& [screen, footer] = GetParam();
    QImage image = NewCanvas(screen.width, screen.height, RGB(0, 0, 0));
    DrawingRecord record;
    {
        QtDC dc(image);
        dc.SetRecord(&record);
        DrawInfoScreen(dc, RECT{0, 0, screen.width, screen.height}, footer.language,
                       ScreenState{false, {screen.width, screen.height}, footer.footer});
    }
    Keep(image, "info");
    const std::vector<DrawnText> texts = TextsOf(record);
    ExpectWholeOnScreen(texts, image.size());

    const int h = screen.height / 8;
    const QRect bottomBand(0, 7 * h, screen.width, h);
    std::vector<std::u16string> inBottomBand;
    for (const DrawnText& t : texts) {
        if (t.clip == bottomBand) inBottomBand.push_back(t.text);
    }
    if (*footer.expected == '\0') {
        EXPECT_TRUE(inBottomBand.empty());
    } else {
        EXPECT_EQ(inBottomBand, std::vector<std::u16string>{Utf8ToWide(footer.expected)});
    }
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const DrawnText& t) { return t.text == u"for Linux (7.26.36)"; }));
}

std::string FooterTestName(const ::testing::TestParamInfo<std::tuple<ScreenCase, FooterCase>>& info)
{
    return ScreenName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(ScreensAndFooters, InfoScreenFit,
                         ::testing::Combine(::testing::ValuesIn(kScreens), ::testing::ValuesIn(kFooters)),
                         FooterTestName);

}  // namespace
