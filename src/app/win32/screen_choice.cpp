#include "screen_choice.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "text/wide_text.h"

namespace {

struct Monitor {
    HMONITOR hMonitor;
    std::string name;
    RECT rc;
    bool bPrimary;
};

BOOL CALLBACK AddMonitor(HMONITOR hMonitor, HDC, LPRECT, LPARAM lParam)
{
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(hMonitor, &info)) {
        const std::u16string name(reinterpret_cast<const char16_t*>(info.szDevice));
        reinterpret_cast<std::vector<Monitor>*>(lParam)->push_back(
            Monitor{hMonitor, WideToUtf8(name), info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

// The primary monitor first, the others in the system's order, as Qt numbers screens.
std::vector<Monitor> Monitors()
{
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::stable_partition(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.bPrimary; });
    return monitors;
}

}  // namespace

HMONITOR FindMonitor(const std::string& choice)
{
    const std::vector<Monitor> monitors = Monitors();
    if (choice.empty()) return monitors.empty() ? nullptr : monitors.front().hMonitor;
    int nIndex = -1;
    const char* end = choice.data() + choice.size();
    if (auto [ptr, ec] = std::from_chars(choice.data(), end, nIndex); ec == std::errc() && ptr == end) {
        return nIndex >= 0 && nIndex < static_cast<int>(monitors.size()) ? monitors[nIndex].hMonitor : nullptr;
    }
    for (const Monitor& m : monitors) {
        if (m.name == choice) return m.hMonitor;
    }
    return nullptr;
}

std::string MonitorList()
{
    std::string text;
    const std::vector<Monitor> monitors = Monitors();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RECT& g = monitors[i].rc;
        text += (i > 0 ? ", " : "") + std::to_string(i) + " \"" + monitors[i].name + "\" " +
                std::to_string(g.right - g.left) + "x" + std::to_string(g.bottom - g.top) + "+" +
                std::to_string(g.left) + "+" + std::to_string(g.top);
    }
    return text.empty() ? "none" : text;
}
