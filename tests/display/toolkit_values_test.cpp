#include <gtest/gtest.h>

#include <vector>

#include "display/drawing/colour_math.h"
#include "display/drawing/draw_kit.h"
#include "display/drawing/round_progress.h"
#include "display/pages/screen_size.h"
#include "display/drawing/solid_brush.h"

namespace {

struct BlendCase {
    COLORREF a;
    COLORREF b;
    int percent;
    COLORREF blended;
};

class BlendColourTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendColourTest, MovesEachChannelRoundingTowardZero)
{
    EXPECT_EQ(BlendColour(GetParam().a, GetParam().b, GetParam().percent), GetParam().blended);
}

INSTANTIATE_TEST_SUITE_P(Examples, BlendColourTest,
                         ::testing::Values(BlendCase{0x000000, 0xFFFFFF, 20, 0x333333},
                                           BlendCase{RGB(70, 105, 153), RGB(255, 255, 255), 20, RGB(107, 135, 173)},
                                           BlendCase{RGB(3, 160, 25), RGB(255, 255, 255), 20, RGB(53, 179, 71)},
                                           BlendCase{RGB(255, 200, 100), RGB(0, 0, 0), 33, RGB(171, 134, 67)},
                                           BlendCase{RGB(10, 20, 30), RGB(90, 80, 70), 0, RGB(10, 20, 30)},
                                           BlendCase{RGB(10, 20, 30), RGB(90, 80, 70), 100, RGB(90, 80, 70)}));

TEST(ContrastColour, IsBlackOnLightColoursAndWhiteOnDarkOnes)
{
    EXPECT_EQ(ContrastColour(RGB(200, 200, 200)), RGB(0, 0, 0));
    EXPECT_EQ(ContrastColour(RGB(255, 255, 0)), RGB(0, 0, 0));
    EXPECT_EQ(ContrastColour(RGB(70, 105, 153)), RGB(255, 255, 255));
    EXPECT_EQ(ContrastColour(RGB(3, 160, 25)), RGB(255, 255, 255));
    EXPECT_EQ(ContrastColour(RGB(0, 0, 255)), RGB(255, 255, 255));
}

TEST(GetSolidBrush, GivesOneBrushPerColour)
{
    CBrush* red = GetSolidBrush(RGB(255, 0, 0));
    EXPECT_EQ(GetSolidBrush(RGB(255, 0, 0)), red);
    EXPECT_NE(GetSolidBrush(RGB(255, 0, 1)), red);
    EXPECT_EQ(red->Colour(), RGB(255, 0, 0));
}

struct FitCase {
    int width;
    int room;
    int height;
    int fitted;
};

class FittedHeightTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FittedHeightTest, ShrinksOnceInProportionAtMostTo95Percent)
{
    EXPECT_EQ(FittedHeight(GetParam().width, GetParam().room, GetParam().height), GetParam().fitted);
}

INSTANTIATE_TEST_SUITE_P(Examples, FittedHeightTest,
                         ::testing::Values(FitCase{100, 100, 126, 126}, FitCase{101, 100, 126, 119},
                                           FitCase{200, 100, 126, 63}, FitCase{1000, 999, 100, 95},
                                           FitCase{300, 100, 153, 50}, FitCase{0, 100, 40, 40}));

struct SizeCase {
    int width;
    int height;
    ScreenSize reported;
};

class GetScreenSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(GetScreenSizeTest, HalvesWideClientAreasKeepingTheirShape)
{
    EXPECT_EQ(GetScreenSize(GetParam().width, GetParam().height), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(Examples, GetScreenSizeTest,
                         ::testing::Values(SizeCase{1920, 1080, {1920, 1080}}, SizeCase{1366, 768, {1366, 768}},
                                           SizeCase{2047, 1000, {2047, 1000}}, SizeCase{2048, 1152, {1024, 576}},
                                           SizeCase{2560, 1440, {1280, 720}}, SizeCase{3840, 2160, {1920, 1080}},
                                           SizeCase{4096, 2160, {1024, 540}}, SizeCase{0, 700, {0, 0}},
                                           SizeCase{0, 0, {0, 0}}, SizeCase{1366, 705, {1366, 705}}));

struct ProgressCase {
    const char* what;
    std::int64_t elapsed;
    std::int64_t remaining;
    int roundSeconds;
    std::vector<int> boards;
    BoardProgress progress;
};

class BoardProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(BoardProgressTest, NamesTheBoardInPlayAndHowFarItsSlotHasRun)
{
    const ProgressCase& c = GetParam();
    const BoardProgress p = ComputeBoardProgress(c.elapsed, c.remaining, c.roundSeconds, c.boards);
    EXPECT_EQ(p.bShown, c.progress.bShown) << c.what;
    if (!c.progress.bShown) return;
    EXPECT_EQ(p.nBoard, c.progress.nBoard) << c.what;
    EXPECT_EQ(p.bFilled, c.progress.bFilled) << c.what;
    EXPECT_EQ(p.nSlotRun, c.progress.nSlotRun) << c.what;
    EXPECT_EQ(p.nSlot, c.progress.nSlot) << c.what;
}

const std::vector<int> kEight{1, 2, 3, 4, 5, 6, 7, 8};

INSTANTIATE_TEST_SUITE_P(
    Examples, BoardProgressTest,
    ::testing::Values(ProgressCase{"second board", 600, 3000, 3600, kEight, {true, 2, true, 152, 448}},
                      ProgressCase{"slot just over", 448, 3152, 3600, kEight, {true, 1, true, 0, 448}},
                      ProgressCase{"not begun", -100, 3700, 3600, kEight, {true, 1, false, -100, 448}},
                      ProgressCase{"start", 0, 3600, 3600, {5, 9}, {true, 5, false, 0, 1798}},
                      ProgressCase{"last seconds", 3590, 10, 3600, kEight, {true, 8, true, 6, 448}},
                      ProgressCase{"ended", 3665, -65, 3600, kEight, {false, 0, false, 0, 0}},
                      ProgressCase{"no boards", 600, 3000, 3600, {}, {true, 0, true, 600, 1798}},
                      ProgressCase{"board without digits", 600, 3000, 3600, {0}, {true, 0, true, 600, 3598}},
                      ProgressCase{"zero slot", 5, 11, 16, kEight, {false, 0, false, 0, 0}},
                      ProgressCase{"negative slot", 3, 5, 8, kEight, {true, -1, true, 0, -1}}));

TEST(ProgressFillRight, IsTheSlotsShareOfTheBoxAndAtLeastOnePixel)
{
    EXPECT_EQ(ProgressFillRight(100, 548, 152, 448), 252);
    EXPECT_EQ(ProgressFillRight(100, 548, 0, 448), 101);
    EXPECT_EQ(ProgressFillRight(100, 548, 447, 448), 547);
    EXPECT_EQ(ProgressFillRight(100, 548, 0, -1), 101);
    EXPECT_EQ(ProgressFillRight(0, 2000, 2000000000, 2000000001), 1999);
}

}  // namespace
