#pragma once
#include <windows.h>

#include <memory>

#include "core/pavlune_app.h"

class CMainFrame;

// The start-up's part on Windows. What it does by itself:
// - the process's DPI awareness, written to the log before the window;
// - the main window on the monitor chosen;
// - Ctrl+C, Ctrl+Break and the console's close end the program as the close button does;
// - the message loop until the window closes.
class Win32AppShell : public AppShell {
public:
    // hMonitor: the monitor to open on; null for the primary one.
    explicit Win32AppShell(HMONITOR hMonitor);
    ~Win32AppShell() override;

    void BeforeWindow() override;
    CDisplayCore& MakeMainFrame(int nPort) override;
    void WindowMade() override;
    int RunUntilClosed() override;

private:
    HMONITOR m_hMonitor;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
