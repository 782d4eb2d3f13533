#include "app_shell.h"

#include <atomic>

#include "app/win32/dpi_awareness.h"
#include "app/win32/main_frame.h"
#include "net/diag_log.h"

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

Win32AppShell::Win32AppShell(HMONITOR hMonitor) : m_hMonitor(hMonitor) {}

Win32AppShell::~Win32AppShell()
{
    g_hCloseOnCtrl.store(nullptr);
    SetConsoleCtrlHandler(&OnConsoleCtrl, FALSE);
    m_pMainWnd.reset();
}

void Win32AppShell::BeforeWindow()
{
    WriteLog(DpiAwarenessLine());
}

CDisplayCore& Win32AppShell::MakeMainFrame(int nPort)
{
    m_pMainWnd = std::make_unique<CMainFrame>(nPort);
    m_pMainWnd->SetTargetMonitor(m_hMonitor);
    return *m_pMainWnd;
}

void Win32AppShell::WindowMade()
{
    g_hCloseOnCtrl.store(m_pMainWnd->GetSafeHwnd());
    SetConsoleCtrlHandler(&OnConsoleCtrl, TRUE);
}

int Win32AppShell::RunUntilClosed()
{
    RunMessageLoop();
    return 0;
}
