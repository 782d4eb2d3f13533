#pragma once
#include <memory>

#include "core/single_instance.h"
#include "options/options.h"

class CDisplayCore;

// What a platform's start-up does by itself, around the sequence CPavlunewinApp keeps
// (app/<platform>/app_shell.*).
class AppShell {
public:
    virtual ~AppShell() = default;
    // Before the main window is made: what must be in place before anyone can hear of
    // the display.
    virtual void BeforeWindow() = 0;
    // The platform's main window, not yet created, for the monitor the shell was given.
    virtual CDisplayCore& MakeMainFrame(int nPort) = 0;
    // Once the window exists, before it is shown.
    virtual void WindowMade() = 0;
    // Runs the window until it is closed; the exit status of the program.
    virtual int RunUntilClosed() = 0;
};

// The program's start-up and life, the same on every platform: one copy per session, the
// main window with its server and timer, shown maximised (or as the options say), until
// the window is closed.
class CPavlunewinApp {
public:
    CPavlunewinApp(AppOptions options, std::unique_ptr<AppShell> pShell);
    CPavlunewinApp(const CPavlunewinApp&) = delete;
    CPavlunewinApp& operator=(const CPavlunewinApp&) = delete;
    ~CPavlunewinApp();

    // False when the program must end at once: another copy runs (the user has been
    // told), the bell's sound cannot be used, or the window could not be made.
    bool InitInstance();
    // Runs the window until it is closed; the exit status of the program.
    int Run() { return m_pShell->RunUntilClosed(); }

private:
    AppOptions m_options;
    SingleInstanceLock m_hMutex;
    int m_nLogListener = -1;
    std::unique_ptr<AppShell> m_pShell;
};
