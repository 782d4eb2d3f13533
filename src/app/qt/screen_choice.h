#pragma once
#include <cstddef>

class QScreen;

// Qt's screen for a monitor of Monitors() (core/monitor_choice.h); null when it is gone.
QScreen* MonitorScreen(std::size_t nMonitor);
