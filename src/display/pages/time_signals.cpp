#include "time_signals.h"

#include <charconv>

#include "msg/colour_text.h"

namespace {

COLORREF HalfIntensity(COLORREF clr)
{
    return RGB(GetRValue(clr) / 2, GetGValue(clr) / 2, GetBValue(clr) / 2);
}

// A decimal number that is the whole of the text.
bool ParseWhole(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

COLORREF ClockColour(std::int64_t nRemaining, int nRoundSeconds, COLORREF clrClock, COLORREF clrOvertime,
                     const TimeSignals& timeSignals)
{
    if (nRemaining > nRoundSeconds) return clrClock;
    if (nRemaining < 0) {
        const bool bDimmed = timeSignals.bBlinkOvertime && (-nRemaining) % 2 == 0;
        return bDimmed ? HalfIntensity(clrOvertime) : clrOvertime;
    }
    const WarnStage* pChosen = nullptr;
    for (const WarnStage& stage : timeSignals.stages) {
        if (nRemaining <= stage.nSeconds && (pChosen == nullptr || stage.nSeconds < pChosen->nSeconds)) {
            pChosen = &stage;
        }
    }
    return pChosen != nullptr ? pChosen->clr : clrClock;
}

bool ParseWarnStage(const std::string& text, WarnStage& stage)
{
    const std::size_t colon = text.find(':');
    WarnStage parsed;
    if (!ParseWhole(text.substr(0, colon), parsed.nSeconds) || parsed.nSeconds < 1 ||
        parsed.nSeconds > kMaxWarnSeconds) {
        return false;
    }
    if (colon != std::string::npos && !ParseColourText(text.substr(colon + 1), parsed.clr)) return false;
    stage = parsed;
    return true;
}
