#include <windows.h>

#include <memory>
#include <type_traits>

#include "net/diag_log.h"
#include "app/win32/main_frame.h"
#include "core/screen_awake.h"
#include "app/win32/window_styles.h"

namespace {

struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

void CMainFrame::OnRButtonDown()
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    // A menu's texts cannot be read back from the screen; the log says what it offered.
    std::u16string offered;
    for (const MenuItem& item : ContextMenuNow()) {
        if (item.nCommand == 0) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuW(menu.get(), MF_STRING, item.nCommand, Wide(item.text));
        if (item.bChecked) CheckMenuItem(menu.get(), item.nCommand, MF_BYCOMMAND | MF_CHECKED);
        offered += (offered.empty() ? u"\"" : u", \"") + item.text + (item.bChecked ? u"\" (checked)" : u"\"");
    }
    WriteLog(u"context menu: " + offered);
    // At the cursor, not at the click; either button chooses an item.
    POINT pt{};
    GetCursorPos(&pt);
    const int nChosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    OnMenuCommand(nChosen);
}

void CMainFrame::ShowFullScreen()
{
    SetForegroundWindow(m_hWnd);
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    // The window thread never sleeps: the style changes at once, without the pause for
    // the restore's animation.
    const LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>((static_cast<DWORD>(style) & ~kFrameBits) | WS_POPUP));
    ShowWindow(m_hWnd, SW_MAXIMIZE);
    // A maximised window covers the work area; full screen covers the whole monitor,
    // the taskbar's band included.
    const RECT monitor = MonitorRect();
    SetWindowPos(m_hWnd, HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                 monitor.bottom - monitor.top, SWP_FRAMECHANGED);
}

void CMainFrame::ShowRestored()
{
    SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    const LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) | WS_POPUP | kFrameBits));
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
}

void CMainFrame::SetCursorShown(bool bShown)
{
    if (bShown) {
        SetCursor(LoadCursorW(nullptr, kArrowCursor));
        return;
    }
    POINT pt{};
    if (GetCursorPos(&pt) && WindowFromPoint(pt) == m_hWnd) SetCursor(nullptr);
}

void CMainFrame::HoldScreenAwake(bool bHold)
{
    m_pScreenAwake = bHold ? std::make_unique<ScreenAwake>() : nullptr;
}

void CMainFrame::OnDpiChanged(const RECT& suggested)
{
    if (m_bFullScreen) {
        ShowFullScreen();
        return;
    }
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CMainFrame::MonitorRect() const
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR hMonitor = m_hWnd != nullptr ? MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST)
                              : m_hTargetMonitor != nullptr ? m_hTargetMonitor
                                                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(hMonitor, &info)) return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return info.rcMonitor;
}

RECT CMainFrame::WorkArea() const
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR hMonitor = m_hTargetMonitor != nullptr ? m_hTargetMonitor
                                                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(hMonitor, &info)) return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return info.rcWork;
}
