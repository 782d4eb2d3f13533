#pragma once
#include <string>

// Whether a display server answers, asked before Qt is started: Qt's own platform
// plugins abort the process when the server they are given is not there.

// An X display such as ":0" or "host:1.0", with the usual authorisation.
bool CanReachXDisplay(const std::string& name);
// A Wayland display: a socket name in XDG_RUNTIME_DIR, or an absolute path.
bool CanReachWaylandDisplay(const std::string& name);
