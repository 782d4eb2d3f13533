#include "round_time.h"

#include <algorithm>
#include <climits>
#include <cstdlib>


namespace {

std::string TwoDigits(std::int64_t n)
{
    std::string text = std::to_string(n);
    if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
    return text;
}

}  // namespace

int SecondsUntil(DateTime t, DateTime now)
{
    const std::int64_t seconds = SecondsBetween(now, t);
    return static_cast<int>(std::clamp<std::int64_t>(seconds, INT_MIN, INT_MAX));
}

std::string ClockText(std::int64_t nSeconds)
{
    const std::int64_t s = nSeconds < 0 ? -nSeconds : nSeconds;
    return TwoDigits(s / 60) + ":" + TwoDigits(s % 60);
}

std::string FormatElapsed(DateTime tEnd, int nRoundSeconds, DateTime now)
{
    const std::int64_t v = SecondsBetween(tEnd.AddSeconds(-static_cast<std::int64_t>(nRoundSeconds)), now);
    return v < 0 ? "-" + ClockText(v) : ClockText(v);
}

ClockFace MakeClockFace(std::int64_t nRemaining, int nRoundSeconds)
{
    const bool bNotBegun = nRemaining > nRoundSeconds;
    const std::int64_t v = bNotBegun ? nRemaining - nRoundSeconds : nRemaining;
    std::string text = v < 0 ? "-" + ClockText(v) : ClockText(v);
    if (bNotBegun) text = "=" + text + "=";
    return ClockFace{std::move(text), v < 0};
}
