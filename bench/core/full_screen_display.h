#pragma once
#include <string>

#include "child_process.h"
#include "x_server.h"

// The real program as a room runs it, for the benches that measure it from outside: full
// screen under a private Xvfb of the given size, on a free port, its runtime files in dir.
class FullScreenDisplay {
public:
    FullScreenDisplay(int nWidth, int nHeight, const std::string& dir);

    // The port it listens on; 0 when the X server or the display did not start in time.
    int Port() const { return m_nPort; }
    ChildProcess& Process() { return m_display; }

private:
    static EnvChanges DisplayEnv(const XServer& x, const std::string& dir);

    XServer m_x;
    ChildProcess m_display;
    int m_nPort = 0;
};
