#pragma once
#include <windows.h>

#include <cstddef>

// The system's handle of a monitor of Monitors() (core/monitor_choice.h), whose names
// are the device names ("\\.\DISPLAY2"); null when it is gone.
HMONITOR MonitorHandle(std::size_t nMonitor);
