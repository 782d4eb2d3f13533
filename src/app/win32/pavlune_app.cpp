#include "pavlune_app.h"

#include <atomic>
#include <iostream>

#include "core/display_options.h"
#include "net/diag_log.h"
#include "os/lang_index.h"
#include "os/message_box.h"
#include "app/win32/dpi_awareness.h"
#include "app/win32/main_frame.h"
#include "text/wide_text.h"

namespace {

std::atomic<HWND> g_hCloseOnCtrl{nullptr};

// Ctrl+C, Ctrl+Break or the console's close in the prompt the program was started from
// end it as the close button does. The handler runs on a thread of the system's own.
BOOL WINAPI OnConsoleCtrl(DWORD)
{
    const HWND hWnd = g_hCloseOnCtrl.load();
    return hWnd != nullptr && PostMessageW(hWnd, WM_CLOSE, 0, 0);
}

}  // namespace

CPavlunewinApp::CPavlunewinApp(AppOptions options, HMONITOR hMonitor)
    : m_options(std::move(options)), m_hMonitor(hMonitor)
{
}

CPavlunewinApp::~CPavlunewinApp()
{
    g_hCloseOnCtrl.store(nullptr);
    SetConsoleCtrlHandler(&OnConsoleCtrl, FALSE);
    // The window's teardown stops the server; log lines written meanwhile still echo.
    m_pMainWnd.reset();
    if (m_nLogListener >= 0) DiagLog::Unsubscribe(m_nLogListener);
}

bool CPavlunewinApp::InitInstance()
{
    if (!m_hMutex.Acquire()) {
        ShowMessageBox(AlreadyRunningText(WindowLangIndex()));
        return false;
    }
    if (m_options.bVerbose) {
        // One write per line, so lines from the server's threads never interleave.
        m_nLogListener = DiagLog::Subscribe([](const std::u16string& line) {
            std::cerr << (WideToUtf8(line) + "\n") << std::flush;
        });
    }
    WriteLog(DpiAwarenessLine());
    m_pMainWnd = std::make_unique<CMainFrame>(m_options.nPort);
    m_pMainWnd->SetTargetMonitor(m_hMonitor);
    m_pMainWnd->SetKeepScreenAwake(!m_options.bAllowBlanking);
    if (!ApplyDisplayOptions(*m_pMainWnd, m_options)) return false;
    if (!m_pMainWnd->Create()) {
        std::cerr << "pavlune: the main window could not be created" << std::endl;
        return false;
    }
    g_hCloseOnCtrl.store(m_pMainWnd->GetSafeHwnd());
    SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);
    if (m_options.bFullScreen) {
        m_pMainWnd->EnterFullScreen();
    } else if (m_options.nWidth > 0) {
        m_pMainWnd->ShowWithClientSize(m_options.nWidth, m_options.nHeight);
    } else {
        m_pMainWnd->ShowMaximized();
    }
    // Once the window has its size: a script that waits for this line and asks the size
    // at once gets the one the window shows. (The server listens from the window's
    // creation on, as before.)
    if (const int nPort = m_pMainWnd->ListeningPort(); nPort != 0) {
        std::cout << "listening on port " << nPort << std::endl;
    }
    return true;
}

int CPavlunewinApp::Run()
{
    RunMessageLoop();
    return 0;
}
