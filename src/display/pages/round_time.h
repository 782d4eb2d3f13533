#pragma once
#include <cstdint>
#include <string>

#include "os/clock.h"
#include "os/date_time.h"

// Whole seconds from now until t, halves rounded away from zero; negative once t has
// passed. Kept within the int range.
int SecondsUntil(DateTime t, DateTime now = Clock::Now());

// "mm:ss" of a number of seconds, sign ignored; minutes are not capped ("100:00").
std::string ClockText(std::int64_t nSeconds);

// The time bar's clock: seconds elapsed since the round began (end less T seconds),
// with "-" before it while the round has not begun.
std::string FormatElapsed(DateTime tEnd, int nRoundSeconds, DateTime now = Clock::Now());

// What the big clock shows with `remaining` seconds left of a round of T seconds.
struct ClockFace {
    std::string text;      // "=01:40=" before the start, "50:00", "-01:05" in overtime
    bool bOvertime = false;
};
ClockFace MakeClockFace(std::int64_t nRemaining, int nRoundSeconds);
