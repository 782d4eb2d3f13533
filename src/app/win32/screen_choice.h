#pragma once
#include <windows.h>

#include <string>

// The monitor that --screen names: its number in the system's order of monitors (from 0,
// the primary first) or its device name ("\\.\DISPLAY2"); the primary one for an empty
// choice; null when there is no such monitor.
HMONITOR FindMonitor(const std::string& choice);

// The monitors as --screen's error names them: 0 "\\.\DISPLAY1" 1920x1080+0+0, ...
std::string MonitorList();
