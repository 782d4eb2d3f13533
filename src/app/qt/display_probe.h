#pragma once
#include <memory>
#include <string>

// Whether a display server answers, asked before Qt is started: Qt's own platform
// plugins abort the process when the server they are given is not there. The answer is
// the open connection, null when there is none; it is to be held until Qt has connected,
// since an X server resets when its last client leaves.
using DisplayConnection = std::shared_ptr<void>;

// An X display such as ":0" or "host:1.0", with the usual authorisation.
DisplayConnection ConnectXDisplay(const std::string& name);
// A Wayland display: a socket name in XDG_RUNTIME_DIR, or an absolute path.
DisplayConnection ConnectWaylandDisplay(const std::string& name);
