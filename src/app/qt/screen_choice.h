#pragma once
#include <string>

class QScreen;

// The monitor that --screen names: its number in Qt's list of screens (from 0) or its
// name. An empty choice is the primary monitor. Null when there is no such monitor.
QScreen* FindScreen(const std::string& choice);

// One line naming the monitors there are, for the complaint about an unknown one:
// 0 "HDMI-1" 1920x1080+0+0, 1 "DP-2" 1280x1024+1920+0.
std::string MonitorList();
