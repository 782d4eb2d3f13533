#pragma once
#include <optional>
#include <string>
#include <vector>

#include "draw/gdi_types.h"

// A monitor as --screen knows it: the window system's name for it and where it lies.
struct MonitorInfo {
    std::string name;
    RECT rc;
};

// The shell's list of the monitors there are, the primary one first and the others in the
// window system's order (app/<platform>/monitors.cpp).
std::vector<MonitorInfo> Monitors();

// The monitor that --screen names in `monitors`: its number (from 0) or its name; the
// first, the primary, for an empty choice. Nothing when there is no such monitor.
std::optional<std::size_t> ChooseMonitor(const std::string& choice, const std::vector<MonitorInfo>& monitors);

// The complaint about a --screen that names no monitor, naming those there are:
// no monitor "3"; the monitors are 0 "HDMI-1" 1920x1080+0+0, 1 "DP-2" 1280x1024+1920+0.
// Ends the program as any other command-line error does; its exit status.
int UnknownMonitorError(const std::string& choice, const std::vector<MonitorInfo>& monitors,
                        const std::string& programName);
