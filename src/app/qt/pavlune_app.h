#pragma once
#include <memory>

#include "options/options.h"
#include "app/qt/single_instance.h"

class CMainFrame;
class QScreen;
class QuitSignals;

// The program's start-up and life: one copy per session, the main window with its server
// and timer, shown maximised (or as the options say), until the window is closed.
class CPavlunewinApp {
public:
    // pScreen: the monitor to open on; null for the primary one.
    CPavlunewinApp(AppOptions options, QScreen* pScreen);
    CPavlunewinApp(const CPavlunewinApp&) = delete;
    CPavlunewinApp& operator=(const CPavlunewinApp&) = delete;
    ~CPavlunewinApp();

    // False when the program must end at once: another copy runs (the user has been
    // told), or the window could not be made.
    bool InitInstance();
    // Runs the window until it is closed; the exit status of the program.
    int Run();

private:
    AppOptions m_options;
    QScreen* m_pScreen;
    SingleInstanceLock m_hMutex;
    int m_nLogListener = -1;
    bool m_bQuitRequested = false;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::unique_ptr<QuitSignals> m_pQuitSignals;
};
