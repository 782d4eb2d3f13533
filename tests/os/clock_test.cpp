#include "os/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class ClockTest : public testing::Test {
protected:
    void TearDown() override { Clock::UseSystemTime(); }
};

TEST_F(ClockTest, FollowsTheWallClockUntilFixed)
{
    const DateTime before = DateTime::FromSystemTime(std::chrono::system_clock::now());
    const DateTime now = Clock::Now();
    const DateTime after = DateTime::FromSystemTime(std::chrono::system_clock::now());
    EXPECT_LE(before.Days(), now.Days());
    EXPECT_LE(now.Days(), after.Days());
}

TEST_F(ClockTest, StaysWhereSetAndMovesOnlyWhenAdvanced)
{
    const DateTime start = DateTime::FromLocal(2026, 12, 9, 23, 59, 0);
    Clock::Set(start);
    EXPECT_EQ(Clock::Now(), start);
    EXPECT_EQ(Clock::Now(), start);

    Clock::Advance(90);
    EXPECT_EQ(Clock::Now(), DateTime::FromLocal(2026, 12, 10, 0, 0, 30));
    Clock::Advance(-3600);
    EXPECT_EQ(Clock::Now(), DateTime::FromLocal(2026, 12, 9, 23, 0, 30));
    EXPECT_EQ(SecondsBetween(start, Clock::Now()), -3600 + 90);
}

TEST_F(ClockTest, KeepsWholeSecondsWhenSetBetweenThem)
{
    const DateTime start = DateTime::FromLocal(2026, 1, 1, 0, 0, 0);
    Clock::Set(DateTime(start.Days() + 0.4 / 86400));
    EXPECT_EQ(Clock::Now(), start);
    Clock::Set(DateTime(start.Days() + 0.6 / 86400));
    EXPECT_EQ(Clock::Now(), start.AddSeconds(1));
}

TEST_F(ClockTest, UseSystemTimeReleasesTheFixedValue)
{
    Clock::Set(DateTime::FromLocal(2001, 1, 1, 0, 0, 0));
    Clock::UseSystemTime();
    EXPECT_GT(Clock::Now().Days(), DateTime::FromLocal(2020, 1, 1, 0, 0, 0).Days());
}

TEST_F(ClockTest, ReadersOnOtherThreadsSeeEveryStepInOrder)
{
    const DateTime start = DateTime::FromLocal(2026, 6, 1, 12, 0, 0);
    Clock::Set(start);
    std::atomic<bool> done{false};
    std::vector<std::thread> readers;
    std::atomic<int> backwards{0};
    for (int i = 0; i < 2; ++i) {
        readers.emplace_back([&] {
            double last = start.Days();
            while (!done.load()) {
                const double now = Clock::Now().Days();
                if (now < last) {
                    ++backwards;
                }
                last = now;
            }
        });
    }
    for (int i = 0; i < 2000; ++i) {
        Clock::Advance(1);
    }
    done = true;
    for (std::thread& t : readers) {
        t.join();
    }
    EXPECT_EQ(backwards.load(), 0);
    EXPECT_EQ(Clock::Now(), start.AddSeconds(2000));
}

}  // namespace
