#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "display/pages/board_list.h"
#include "display/pages/round_time.h"
#include "os/clock.h"

namespace {

class FixedClock : public ::testing::Test {
protected:
    void SetUp() override { Clock::Set(m_tNow); }
    void TearDown() override { Clock::UseSystemTime(); }
    DateTime m_tNow = DateTime::FromLocal(2026, 3, 14, 15, 0, 0);
};

struct BoardCase {
    const char* text;
    bool unique;
    std::vector<int> boards;
};

class ParseBoardListTest : public ::testing::TestWithParam<BoardCase> {};

TEST_P(ParseBoardListTest, GivesTheBoardsInTextOrder)
{
    EXPECT_EQ(ParseBoardList(GetParam().text, GetParam().unique), GetParam().boards) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseBoardListTest,
    ::testing::Values(BoardCase{"1~8", false, {1, 2, 3, 4, 5, 6, 7, 8}},
                      BoardCase{"１～４；７", false, {1, 2, 3, 4, 7}},
                      BoardCase{"9~6,2", false, {9, 8, 7, 6, 2}},
                      BoardCase{"3,,3", false, {3, 3}},
                      BoardCase{"x", false, {0}},
                      BoardCase{",", false, {}},
                      BoardCase{"", false, {}},
                      BoardCase{" -2, +3;4", false, {-2, 3, 4}},
                      BoardCase{"12abc", false, {12}},
                      BoardCase{"3~", false, {3, 2, 1, 0}},
                      BoardCase{"~2", false, {0, 1, 2}},
                      BoardCase{"1~3~9", false, {1, 2, 3}},
                      BoardCase{"5~5", false, {5}},
                      BoardCase{"1~3,2,5,1", true, {1, 2, 3, 5}},
                      BoardCase{"1~3,2,5,1", false, {1, 2, 3, 2, 5, 1}},
                      BoardCase{"99999999999,-99999999999", false, {INT_MAX, INT_MIN}}));

TEST(ParseBoardList, HugeRangesStopAtTheLimitInsteadOfExhaustingMemory)
{
    EXPECT_EQ(ParseBoardList("1~2000000000", false).size(), kMaxBoards);
    const std::vector<int> top = ParseBoardList("2147483645~99999999999", false);
    EXPECT_EQ(top, (std::vector<int>{2147483645, 2147483646, INT_MAX}));
    const std::vector<int> bottom = ParseBoardList("-2147483646~-99999999999", false);
    EXPECT_EQ(bottom, (std::vector<int>{-2147483646, -2147483647, INT_MIN}));
}

struct FullWidthCase {
    const char* text;
    const char* normal;
};

class NormaliseFullWidthTest : public ::testing::TestWithParam<FullWidthCase> {};

TEST_P(NormaliseFullWidthTest, MakesFullWidthCharactersAscii)
{
    EXPECT_EQ(NormaliseFullWidth(GetParam().text), GetParam().normal);
}

INSTANTIATE_TEST_SUITE_P(Examples, NormaliseFullWidthTest,
                         ::testing::Values(FullWidthCase{"０１２３４５６７８９", "0123456789"},
                                           FullWidthCase{"，。〈〉～！＠＃＄＊（）", ",.<>~!@#$*()"},
                                           FullWidthCase{"［］｛｝｜；：＋＝", "[]{}|;:+="},
                                           FullWidthCase{"“a”‘b’", "\"a”'b’"},
                                           FullWidthCase{"第１～８副", "第1~8副"},
                                           FullWidthCase{"plain 1~8", "plain 1~8"},
                                           FullWidthCase{"", ""}));

struct ClockCase {
    std::int64_t remaining;
    int roundSeconds;
    const char* clock;
    bool overtime;
    const char* elapsed;
};

class RoundClockTest : public FixedClock, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(RoundClockTest, ShowsRemainingAndElapsedTime)
{
    const ClockCase& c = GetParam();
    const ClockFace face = MakeClockFace(c.remaining, c.roundSeconds);
    EXPECT_EQ(face.text, c.clock);
    EXPECT_EQ(face.bOvertime, c.overtime);
    EXPECT_EQ(FormatElapsed(m_tNow.AddSeconds(c.remaining), c.roundSeconds), c.elapsed);
}

INSTANTIATE_TEST_SUITE_P(Examples, RoundClockTest,
                         ::testing::Values(ClockCase{3000, 3600, "50:00", false, "10:00"},
                                           ClockCase{3700, 3600, "=01:40=", false, "-01:40"},
                                           ClockCase{3600, 3600, "60:00", false, "00:00"},
                                           ClockCase{0, 3600, "00:00", false, "60:00"},
                                           ClockCase{-65, 3600, "-01:05", true, "61:05"},
                                           ClockCase{6000, 6000, "100:00", false, "00:00"},
                                           ClockCase{-2400, 3600, "-40:00", true, "100:00"},
                                           ClockCase{5, 0, "=00:05=", false, "-00:05"}));

TEST(ClockText, PadsToTwoDigitsAndNeverCapsMinutes)
{
    EXPECT_EQ(ClockText(0), "00:00");
    EXPECT_EQ(ClockText(59), "00:59");
    EXPECT_EQ(ClockText(-65), "01:05");
    EXPECT_EQ(ClockText(6000), "100:00");
    EXPECT_EQ(ClockText(std::int64_t{INT_MAX} * 2), "71582788:14");
}

struct RoundingCase {
    double offsetSeconds;
    int seconds;
};

class SecondsUntilTest : public FixedClock, public ::testing::WithParamInterface<RoundingCase> {};

// Exact halves cannot be told apart from a hair less in days since 1899; a hundredth of
// a second either side shows the direction.
TEST_P(SecondsUntilTest, RoundsToTheNearestSecondHalvesAwayFromZero)
{
    const DateTime t(m_tNow.Days() + GetParam().offsetSeconds / 86400.0);
    EXPECT_EQ(SecondsUntil(t), GetParam().seconds) << GetParam().offsetSeconds;
}

INSTANTIATE_TEST_SUITE_P(Examples, SecondsUntilTest,
                         ::testing::Values(RoundingCase{0.0, 0}, RoundingCase{0.49, 0}, RoundingCase{0.51, 1},
                                           RoundingCase{1.49, 1}, RoundingCase{1.51, 2}, RoundingCase{-0.49, 0},
                                           RoundingCase{-0.51, -1}, RoundingCase{-1.51, -2},
                                           RoundingCase{3000.0, 3000}, RoundingCase{-65.0, -65}));

TEST_F(FixedClock, SecondsUntilFollowsTheClock)
{
    const DateTime end = m_tNow.AddSeconds(100);
    EXPECT_EQ(SecondsUntil(end), 100);
    Clock::Advance(130);
    EXPECT_EQ(SecondsUntil(end), -30);
    EXPECT_EQ(SecondsUntil(DateTime()), INT_MIN);
}

}  // namespace
