#include "os/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "time_zone.h"

namespace {

// Built while the program starts, before or after the library's own statics.
const DateTime g_tStartUp = DateTime::FromLocal(1970, 1, 1, 0, 0, 0);

TEST(DateTimeTest, ValueBuiltDuringStartUpIsRight)
{
    EXPECT_EQ(g_tStartUp.Days(), 25569.0);
}

struct CivilCase {
    int year, month, day, hour, minute, second;
    double days;
};

class DateTimeCivilTest : public testing::TestWithParam<CivilCase> {};

TEST_P(DateTimeCivilTest, CountsDaysSinceTheEndOf1899)
{
    const CivilCase& c = GetParam();
    const DateTime t = DateTime::FromLocal(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_DOUBLE_EQ(t.Days(), c.days);

    const DateTime::Fields f = t.GetFields();
    EXPECT_EQ(f.year, c.year);
    EXPECT_EQ(f.month, c.month);
    EXPECT_EQ(f.day, c.day);
    EXPECT_EQ(f.hour, c.hour);
    EXPECT_EQ(f.minute, c.minute);
    EXPECT_EQ(f.second, c.second);
}

INSTANTIATE_TEST_SUITE_P(Dates, DateTimeCivilTest,
                         testing::Values(CivilCase{1899, 12, 30, 0, 0, 0, 0.0}, CivilCase{1899, 12, 31, 0, 0, 0, 1.0},
                                         CivilCase{1900, 1, 1, 0, 0, 0, 2.0}, CivilCase{1899, 12, 29, 0, 0, 0, -1.0},
                                         CivilCase{1899, 12, 30, 12, 0, 0, 0.5}, CivilCase{1899, 12, 30, 6, 0, 0, 0.25},
                                         CivilCase{1970, 1, 1, 0, 0, 0, 25569.0}, CivilCase{2000, 1, 1, 0, 0, 0, 36526.0},
                                         CivilCase{2024, 2, 29, 18, 0, 0, 45351.75},
                                         CivilCase{2026, 12, 9, 23, 59, 59, 46365.0 + 86399.0 / 86400.0}));

TEST(DateTimeTest, TextIsDateFirstThenTimeOfDay)
{
    EXPECT_EQ(DateTime::FromLocal(2026, 12, 9, 23, 46, 2).Text(), "2026/12/9 23:46:02");
    EXPECT_EQ(DateTime::FromLocal(2024, 2, 29, 8, 5, 9).Text(), "2024/2/29 8:05:09");
}

TEST(DateTimeTest, AddSecondsCrossesMidnightBothWays)
{
    const DateTime late = DateTime::FromLocal(2026, 12, 31, 23, 59, 30);
    EXPECT_EQ(late.AddSeconds(45), DateTime::FromLocal(2027, 1, 1, 0, 0, 15));
    EXPECT_EQ(late.AddSeconds(45).AddSeconds(-45), late);
    EXPECT_EQ(DateTime::FromLocal(2026, 3, 1, 0, 0, 0).AddSeconds(-1), DateTime::FromLocal(2026, 2, 28, 23, 59, 59));
}

struct BetweenCase {
    double fromDays;
    double toDays;
    std::int64_t seconds;
};

class SecondsBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(SecondsBetweenTest, RoundsHalfAwayFromZero)
{
    const BetweenCase& c = GetParam();
    EXPECT_EQ(SecondsBetween(DateTime(c.fromDays), DateTime(c.toDays)), c.seconds);
}

// 1/256 of a day is exactly 337.5 seconds and 1/512 exactly 168.75, so the halves here
// are exact in binary and the rounding rule alone decides.
INSTANTIATE_TEST_SUITE_P(Differences, SecondsBetweenTest,
                         testing::Values(BetweenCase{0.0, 0.0, 0}, BetweenCase{0.0, 1.0, 86400},
                                         BetweenCase{1.0, 0.0, -86400}, BetweenCase{0.0, 1.0 / 256, 338},
                                         BetweenCase{1.0 / 256, 0.0, -338}, BetweenCase{0.0, 1.0 / 512, 169},
                                         BetweenCase{1.0 / 512, 0.0, -169}, BetweenCase{0.0, 3.0 / 512, 506},
                                         BetweenCase{46000.0, 46000.0 + 1.0 / 256, 338},
                                         BetweenCase{46000.0 + 1.0 / 256, 46000.0, -338}));

TEST(SecondsBetweenTest, WholeSecondsSurviveTheDoubleAtTodaysDates)
{
    const DateTime start = DateTime::FromLocal(2026, 12, 9, 9, 0, 0);
    for (std::int64_t s : {1, 59, 3600, 2400, 86399, -1, -7200}) {
        EXPECT_EQ(SecondsBetween(start, start.AddSeconds(s)), s) << s;
    }
    EXPECT_EQ(SecondsBetween(start, DateTime::FromLocal(2026, 12, 9, 9, 40, 0)), 2400);
    EXPECT_DOUBLE_EQ(DaysBetween(start, start.AddSeconds(43200)), 0.5);
}

// FromSystemTime reads the local wall clock, so the zone decides the value.
class DateTimeZoneTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ")) {
            m_savedTz = tz;
        }
    }
    void TearDown() override { PutTimeZone(m_savedTz ? m_savedTz->c_str() : nullptr); }
    static void UseZone(const char* tz) { PutTimeZone(tz); }

private:
    std::optional<std::string> m_savedTz;
};

TEST_F(DateTimeZoneTest, SystemTimeIsTakenAsLocalWallClock)
{
    const auto epoch = std::chrono::system_clock::from_time_t(0);
    UseZone("UTC0");
    EXPECT_EQ(DateTime::FromSystemTime(epoch), DateTime::FromLocal(1970, 1, 1, 0, 0, 0));
    UseZone("CST-8");
    EXPECT_EQ(DateTime::FromSystemTime(epoch), DateTime::FromLocal(1970, 1, 1, 8, 0, 0));
    EXPECT_EQ(DateTime::FromSystemTime(epoch + std::chrono::milliseconds(999)), DateTime::FromLocal(1970, 1, 1, 8, 0, 0))
        << "whole seconds only";
}

}  // namespace
