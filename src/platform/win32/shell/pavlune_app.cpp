#include "pavlune_app.h"

#include <atomic>
#include <iostream>

#include "net/diag_log.h"
#include "platform/lang_index.h"
#include "platform/message_box.h"
#include "platform/user_dirs.h"
#include "platform/win32/shell/dpi_awareness.h"
#include "platform/win32/shell/main_frame.h"
#include "sound/bell_sound.h"
#include "sound/sound_player.h"
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
    m_pMainWnd->SetSnapshotFile(m_options.strSnapshot);
    m_pMainWnd->SetTargetMonitor(m_hMonitor);
    m_pMainWnd->SetKeepScreenAwake(!m_options.bAllowBlanking);
    std::unique_ptr<CSoundPlayer> pBell;
    if (std::string strError; !m_options.timeSignals.strSound.empty() &&
                              !MakeBellPlayer(m_options.timeSignals.strSound, pBell, strError)) {
        std::cerr << "pavlune: --sound: " << strError << std::endl;
        return false;
    }
    m_pMainWnd->SetTimeSignals(m_options.timeSignals, std::move(pBell));
    m_pMainWnd->SetPageStateDirectory(StateDirectory(), !m_options.bNoRestore);
    m_pMainWnd->SetListenRules(m_options.listenRules);
    m_pMainWnd->SetRemoteView(m_options.bRemoteView);
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
