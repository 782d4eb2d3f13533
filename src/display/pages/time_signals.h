#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "draw/colour.h"

// Amber: a warning that reads well on the slate background and is never taken for the
// overtime red.
inline constexpr COLORREF kDefaultWarnColour = RGB(255, 191, 0);

// While 0 <= remaining <= nSeconds the big clock is drawn in clr.
struct WarnStage {
    int nSeconds = 0;
    COLORREF clr = kDefaultWarnColour;
    friend bool operator==(const WarnStage&, const WarnStage&) = default;
};

// The time signals the director has set up. Empty by default: the clock then keeps
// exactly the colours of the message and the display stays silent.
struct TimeSignals {
    std::vector<WarnStage> stages;
    bool bBlinkOvertime = false;
    // What rings at each stage and at the end: empty for nothing, "bell" or a file name.
    std::string strSound;
};

// The colour of the big clock with `nRemaining` seconds left of a round of T seconds.
// A round that has not begun keeps clrClock; the smallest stage that holds the remaining
// time wins; overtime keeps clrOvertime, which with blinking is dimmed to half intensity
// in its even seconds, so it alternates once a second.
COLORREF ClockColour(std::int64_t nRemaining, int nRoundSeconds, COLORREF clrClock, COLORREF clrOvertime,
                     const TimeSignals& timeSignals);

// "SECONDS" or "SECONDS:COLOUR", as given to --warn; COLOUR is "R,G,B", "#RRGGBB" or a
// colour name such as "orange". False, with `stage` untouched, for anything else or for
// SECONDS outside 1 .. kMaxWarnSeconds.
inline constexpr int kMaxWarnSeconds = 24 * 3600;
bool ParseWarnStage(const std::string& text, WarnStage& stage);
