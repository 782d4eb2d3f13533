#include "screen_choice.h"

#include <algorithm>
#include <vector>

#include "core/monitor_choice.h"
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
std::vector<Monitor> SystemMonitors()
{
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::stable_partition(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.bPrimary; });
    return monitors;
}

}  // namespace

std::vector<MonitorInfo> Monitors()
{
    std::vector<MonitorInfo> monitors;
    for (const Monitor& m : SystemMonitors()) monitors.push_back(MonitorInfo{m.name, m.rc});
    return monitors;
}

HMONITOR MonitorHandle(std::size_t nMonitor)
{
    const std::vector<Monitor> monitors = SystemMonitors();
    return nMonitor < monitors.size() ? monitors[nMonitor].hMonitor : nullptr;
}
