#pragma once
#include <windows.h>

#include <memory>

#include "options/options.h"
#include "app/win32/single_instance.h"

class CMainFrame;

// The program's start-up and life: one copy per logon session, the main window with its
// server and timer, shown maximised (or as the options say), until the window is closed.
class CPavlunewinApp {
public:
    // hMonitor: the monitor to open on; null for the primary one.
    CPavlunewinApp(AppOptions options, HMONITOR hMonitor);
    CPavlunewinApp(const CPavlunewinApp&) = delete;
    CPavlunewinApp& operator=(const CPavlunewinApp&) = delete;
    ~CPavlunewinApp();

    // False when the program must end at once: another copy runs (the user has been
    // told), the bell's sound cannot be used, or the window could not be made.
    bool InitInstance();
    // Runs the message loop until the window is closed; the exit status of the program.
    int Run();

private:
    AppOptions m_options;
    HMONITOR m_hMonitor;
    SingleInstanceLock m_hMutex;
    int m_nLogListener = -1;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
