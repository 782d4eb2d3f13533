#include "monitor_choice.h"

#include <charconv>

#include "core/command_line.h"

std::optional<std::size_t> ChooseMonitor(const std::string& choice, const std::vector<MonitorInfo>& monitors)
{
    if (choice.empty()) return monitors.empty() ? std::nullopt : std::optional<std::size_t>(0);
    int nIndex = -1;
    const char* end = choice.data() + choice.size();
    if (auto [ptr, ec] = std::from_chars(choice.data(), end, nIndex); ec == std::errc() && ptr == end) {
        if (nIndex >= 0 && static_cast<std::size_t>(nIndex) < monitors.size()) return static_cast<std::size_t>(nIndex);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].name == choice) return i;
    }
    return std::nullopt;
}

int UnknownMonitorError(const std::string& choice, const std::vector<MonitorInfo>& monitors,
                        const std::string& programName)
{
    std::string list;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RECT& g = monitors[i].rc;
        list += (i > 0 ? ", " : "") + std::to_string(i) + " \"" + monitors[i].name + "\" " +
                std::to_string(g.right - g.left) + "x" + std::to_string(g.bottom - g.top) + "+" +
                std::to_string(g.left) + "+" + std::to_string(g.top);
    }
    return CommandLineError("no monitor \"" + choice + "\"; the monitors are " + (list.empty() ? "none" : list),
                            programName);
}
