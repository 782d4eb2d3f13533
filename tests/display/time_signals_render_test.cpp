// The clock's colour under the director's warning stages and overtime blink, drawn
// through the composition at fixed times, and the information screen's line about them.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "display/drawing/draw_screen.h"
#include "display/drawing/info_screen.h"
#include "display/pages/screen_pages.h"
#include "display/drawing/signals_summary.h"
#include "display/pages/time_signals.h"
#include "os/clock.h"
#include "draw/gdi_dc.h"
#include "render_support.h"

namespace {

constexpr COLORREF kClock = RGB(248, 248, 248);
constexpr COLORREF kOvertime = RGB(255, 64, 64);
constexpr COLORREF kDimOvertime = RGB(127, 32, 32);
constexpr COLORREF kAmber = RGB(255, 191, 0);
constexpr COLORREF kLastMinute = RGB(255, 96, 0);
constexpr int kRound = 600;
// Enough pixels of one exact colour that only the big clock's glyphs can account for them.
constexpr int kClockInk = 2000;

class TimeSignalsRender : public RenderTest {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override
    {
        Clock::UseSystemTime();
        RenderTest::TearDown();
    }

    // The page arrives with `remaining` seconds left and is drawn `later` seconds after.
    QImage Render(int remaining, const TimeSignals& timeSignals, const std::string& name, int later = 0)
    {
        ReceivedRound f;
        f.title = "Round 4";
        f.remainingSeconds = remaining;
        f.roundSeconds = kRound;
        f.boards = "1~4";
        f.barCaption = "Round 4";
        f.clockX = 50;
        f.clockY = 50;
        f.clockHeight = 40;
        f.clrTitle = RGB(250, 200, 40);
        f.clrClock = kClock;
        f.clrOvertime = kOvertime;
        f.language = 1;
        ScreenPageList pages;
        {
            const std::lock_guard<std::mutex> lock(pages.Mutex());
            pages.AddRoundPage(f);
        }
        Clock::Advance(later);
        QImage image = NewCanvas(960, 540, RGB(0, 0, 0));
        {
            QtDC dc(image);
            ScreenState state;
            state.reportedSize = {960, 540};
            state.timeSignals = timeSignals;
            DrawScreen(dc, RECT{0, 0, 960, 540}, pages, state, Clock::Now());
        }
        Keep(image, name);
        return image;
    }
};

// Exactly one of the candidate colours shows the clock.
void ExpectClockIn(const QImage& image, COLORREF expected, const std::vector<COLORREF>& others)
{
    EXPECT_GT(CountColour(image, expected), kClockInk);
    for (COLORREF other : others) {
        if (other != expected) {
            EXPECT_EQ(CountColour(image, other), 0) << std::hex << other;
        }
    }
}

struct StageCase {
    const char* name;
    std::vector<WarnStage> stages;
    int remaining;
    COLORREF expected;
};

class StageColour : public TimeSignalsRender, public ::testing::WithParamInterface<StageCase> {};

TEST_P(StageColour, ClockTakesTheSmallestStageThatHoldsTheRemainingTime)
{
    const StageCase& c = GetParam();
    TimeSignals timeSignals;
    timeSignals.stages = c.stages;
    const QImage image = Render(c.remaining, timeSignals, c.name);
    ExpectClockIn(image, c.expected, {kClock, kOvertime, kAmber, kLastMinute});
}

const std::vector<WarnStage> kOneStage{{300, kAmber}};
// Given in the "wrong" order on purpose: the smaller stage must still win inside it.
const std::vector<WarnStage> kTwoStages{{60, kLastMinute}, {300, kAmber}};

INSTANTIATE_TEST_SUITE_P(
    Stages, StageColour,
    ::testing::Values(StageCase{"one_outside", kOneStage, 301, kClock},
                      StageCase{"one_at", kOneStage, 300, kAmber},
                      StageCase{"one_inside", kOneStage, 299, kAmber},
                      StageCase{"one_at_zero", kOneStage, 0, kAmber},
                      StageCase{"one_overtime", kOneStage, -1, kOvertime},
                      StageCase{"two_outside_both", kTwoStages, 301, kClock},
                      StageCase{"two_at_first", kTwoStages, 300, kAmber},
                      StageCase{"two_inside_first", kTwoStages, 299, kAmber},
                      StageCase{"two_outside_second", kTwoStages, 61, kAmber},
                      StageCase{"two_at_second", kTwoStages, 60, kLastMinute},
                      StageCase{"two_inside_second", kTwoStages, 59, kLastMinute},
                      StageCase{"two_at_zero", kTwoStages, 0, kLastMinute},
                      StageCase{"two_overtime", kTwoStages, -1, kOvertime},
                      // Longer than the round: not begun keeps its colour, the start is inside.
                      StageCase{"longer_not_begun", {{900, kAmber}}, kRound + 1, kClock},
                      StageCase{"longer_at_start", {{900, kAmber}}, kRound, kAmber}),
    [](const ::testing::TestParamInfo<StageCase>& info) { return std::string(info.param.name); });

TEST_F(TimeSignalsRender, OvertimeBlinksOnceASecondBetweenItsColourAndHalfIntensity)
{
    TimeSignals timeSignals;
    timeSignals.stages = kOneStage;
    timeSignals.bBlinkOvertime = true;
    const std::vector<COLORREF> all{kClock, kOvertime, kDimOvertime, kAmber};
    ExpectClockIn(Render(2, timeSignals, "blink-before", 2), kAmber, all);
    ExpectClockIn(Render(2, timeSignals, "blink-1", 3), kOvertime, all);
    ExpectClockIn(Render(2, timeSignals, "blink-2", 4), kDimOvertime, all);
    ExpectClockIn(Render(2, timeSignals, "blink-3", 5), kOvertime, all);
}

TEST_F(TimeSignalsRender, WithoutOptionsTheClockKeepsTheMessageColours)
{
    const std::vector<COLORREF> all{kClock, kOvertime, kDimOvertime, kAmber};
    for (int remaining : {kRound + 30, 300, 30, 0}) {
        ExpectClockIn(Render(remaining, TimeSignals{}, "plain-" + std::to_string(remaining)), kClock, all);
    }
    for (int remaining : {-1, -2, -3}) {
        ExpectClockIn(Render(remaining, TimeSignals{}, "plain-" + std::to_string(remaining)), kOvertime, all);
    }
}

struct ParseCase {
    const char* text;
    bool ok;
    WarnStage stage;
};

class WarnStageText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(WarnStageText, ParsesSecondsAndAnOptionalColour)
{
    const ParseCase& c = GetParam();
    const WarnStage untouched{7, RGB(1, 2, 3)};
    WarnStage stage = untouched;
    EXPECT_EQ(ParseWarnStage(c.text, stage), c.ok) << c.text;
    EXPECT_EQ(stage, c.ok ? c.stage : untouched) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WarnStageText,
    ::testing::Values(ParseCase{"300", true, {300, kAmber}}, ParseCase{"1", true, {1, kAmber}},
                      ParseCase{"86400", true, {86400, kAmber}}, ParseCase{"60:#FF6000", true, {60, kLastMinute}},
                      ParseCase{"60:#ff6000", true, {60, kLastMinute}}, ParseCase{"60:red", true, {60, RGB(255, 0, 0)}},
                      ParseCase{"", false, {}}, ParseCase{"0", false, {}}, ParseCase{"-5", false, {}},
                      ParseCase{"86401", false, {}}, ParseCase{"5m", false, {}}, ParseCase{" 300", false, {}},
                      ParseCase{"300:", false, {}}, ParseCase{":red", false, {}},
                      ParseCase{"300:255,96,0", true, {300, kLastMinute}}, ParseCase{"300: 255, 96 ,0", true, {300, kLastMinute}},
                      ParseCase{"300:255,96", false, {}}, ParseCase{"300:255,96,0,1", false, {}},
                      ParseCase{"300:#ff60", false, {}}, ParseCase{"300:nosuchcolour", false, {}},
                      ParseCase{"300:transparent", false, {}},
                      ParseCase{"300:#80ff0000", false, {}}, ParseCase{"99999999999", false, {}}));

struct SummaryCase {
    TimeSignals timeSignals;
    int language;
    const char* expected;
};

class SummaryText : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryText, NamesWhatIsSetUpLargestStageFirst)
{
    EXPECT_EQ(SignalsSummary(GetParam().timeSignals, GetParam().language), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SummaryText,
    ::testing::Values(SummaryCase{TimeSignals{}, 1, ""}, SummaryCase{TimeSignals{{}, false, ""}, 0, ""},
                      SummaryCase{TimeSignals{kTwoStages, false, ""}, 1, "Warnings 05:00, 01:00"},
                      SummaryCase{TimeSignals{{}, true, "bell"}, 1, "overtime blinks · bell"},
                      SummaryCase{TimeSignals{kOneStage, true, "/usr/share/sounds/gong.wav"}, 1,
                                  "Warnings 05:00 · overtime blinks · sound gong.wav"},
                      SummaryCase{TimeSignals{kOneStage, false, "bell"}, 0, "提醒 05:00 · 铃声"}));

TEST(InfoScreenSignals, SummaryFollowsWhatTheFooterSaysAlready)
{
    const TimeSignals timeSignals{kOneStage, false, ""};
    EXPECT_EQ(WithSignalsSummary(std::u16string(), TimeSignals{}, 1), std::u16string());
    EXPECT_EQ(WithSignalsSummary(u"Port=40123", TimeSignals{}, 1), u"Port=40123");
    EXPECT_EQ(WithSignalsSummary(std::u16string(), timeSignals, 1), u"Warnings 05:00");
    EXPECT_EQ(WithSignalsSummary(u"Port=40123", timeSignals, 1),
              u"Port=40123   Warnings 05:00");
}

TEST(InfoScreenSignals, BottomBandNamesTheSignalsOnlyWhenSetUp)
{
    constexpr COLORREF kInfoGround = RGB(22, 96, 128);
    constexpr COLORREF kLine = RGB(240, 228, 176);
    const QRect bottomBand(0, 945, 1920, 135);
    for (const bool bSetUp : {false, true}) {
        QImage image = NewCanvas(1920, 1080, RGB(0, 0, 0));
        ScreenState state;
        state.reportedSize = {1920, 1080};
        if (bSetUp) state.timeSignals = TimeSignals{kOneStage, false, "bell"};
        {
            QtDC dc(image);
            DrawInfoScreen(dc, RECT{0, 0, 1920, 1080}, 1, state);
        }
        const int ground = CountColour(image, kInfoGround, bottomBand);
        if (bSetUp) {
            EXPECT_GT(CountColour(image, kLine, bottomBand), 500);
            EXPECT_TRUE(bottomBand.contains(InkBox(image, kLine, bottomBand)));
        } else {
            EXPECT_EQ(ground, bottomBand.width() * bottomBand.height());
        }
    }
}

}  // namespace
