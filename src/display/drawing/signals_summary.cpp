#include "signals_summary.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "display/pages/round_time.h"
#include "display/pages/time_signals.h"
#include "os/file_path.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

constexpr const char* kWarnings = "提醒 ||Warnings ||<其它>";
constexpr const char* kBlinks = "超时闪烁||overtime blinks||<其它>";
constexpr const char* kBell = "铃声||bell||<其它>";
constexpr const char* kSoundFile = "声音 ||sound ||<其它>";
constexpr const char* kBetween = " · ";

}  // namespace

std::string SignalsSummary(const TimeSignals& timeSignals, int nLanguage)
{
    std::vector<std::string> parts;
    if (!timeSignals.stages.empty()) {
        std::vector<int> seconds;
        for (const WarnStage& stage : timeSignals.stages) seconds.push_back(stage.nSeconds);
        // In the order the room meets them.
        std::sort(seconds.begin(), seconds.end(), std::greater<>());
        std::string text = ChooseLangText(kWarnings, nLanguage);
        for (std::size_t i = 0; i < seconds.size(); ++i) text += (i == 0 ? "" : ", ") + ClockText(seconds[i]);
        parts.push_back(std::move(text));
    }
    if (timeSignals.bBlinkOvertime) parts.push_back(ChooseLangText(kBlinks, nLanguage));
    if (timeSignals.strSound == "bell") {
        parts.push_back(ChooseLangText(kBell, nLanguage));
    } else if (!timeSignals.strSound.empty()) {
        parts.push_back(ChooseLangText(kSoundFile, nLanguage) +
                        Utf8FromPath(PathFromUtf8(timeSignals.strSound).filename()));
    }
    std::string summary;
    for (const std::string& part : parts) summary += (summary.empty() ? "" : kBetween) + part;
    return summary;
}

std::u16string WithSignalsSummary(const std::u16string& footer, const TimeSignals& timeSignals, int nLanguage)
{
    const std::string summary = SignalsSummary(timeSignals, nLanguage);
    if (summary.empty()) return footer;
    return footer.empty() ? Utf8ToWide(summary) : footer + u"   " + Utf8ToWide(summary);
}
