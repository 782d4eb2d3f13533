#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "app/win32/cursor_idle.h"
#include "app/win32/single_instance.h"
#include "sound/chime.h"
#include "sound/device_output.h"

TEST(SingleInstanceLockTest, SecondHolderOfTheNameIsRefusedUntilTheFirstLetsGo)
{
    auto first = std::make_unique<SingleInstanceLock>();
    ASSERT_TRUE(first->Acquire());
    {
        SingleInstanceLock second;
        EXPECT_FALSE(second.Acquire());
    }
    first.reset();
    SingleInstanceLock third;
    EXPECT_TRUE(third.Acquire());
}

struct CursorStep {
    const char* what;
    std::uint64_t nAtMs;
    bool bMove;      // a movement or click at that time, else a tick
    bool bExpected;  // what the step returns
    bool bHidden;    // the state after it
};

TEST(CursorIdleTest, HidesAfterThreeStillSecondsAndShowsAtTheNextMovement)
{
    const CursorStep steps[] = {
        {"tick before the idle time", 2999, false, false, false},
        {"tick at three seconds", 3000, false, true, true},
        {"a later tick changes nothing", 5000, false, false, true},
        {"a movement shows it", 5100, true, true, false},
        {"three seconds from the movement, not from the start", 8000, false, false, false},
        {"then it hides again", 8100, false, true, true},
    };
    CursorIdle idle;
    idle.SetActive(true, 0);
    for (const CursorStep& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.bMove ? idle.OnMouseActivity(step.nAtMs) : idle.Tick(step.nAtMs), step.bExpected);
        EXPECT_EQ(idle.IsHidden(), step.bHidden);
    }
    // Leaving full screen shows it and keeps it shown.
    idle.SetActive(false, 9000);
    EXPECT_FALSE(idle.IsHidden());
    EXPECT_FALSE(idle.Tick(60000));
}

TEST(DeviceOutputTest, PlaysTheChimeOrSaysWhyNot)
{
    // Wine on a build machine may have no sound device: then the reason, never a hang.
    DeviceOutput output;
    std::atomic<bool> stop{false};
    std::string strError;
    const bool bPlayed = output.Play(SynthesiseChime(), stop, strError);
    EXPECT_TRUE(bPlayed || !strError.empty());
    EXPECT_TRUE(!bPlayed || strError.empty());
}
