#include <windows.h>

#include <memory>
#include <type_traits>

#include "net/diag_log.h"
#include "os/lang_index.h"
#include "app/win32/main_frame.h"
#include "app/win32/screen_awake.h"
#include "app/win32/window_styles.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

std::u16string MenuText(const char* langText)
{
    return Utf8ToWide(ChooseLangText(langText, WindowLangIndex()));
}

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

void CMainFrame::OnRButtonDown()
{
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const std::u16string fullScreen = MenuText(LangText::kMenuFullScreen);
    const std::u16string exit = MenuText(LangText::kMenuExit);
    AppendMenuW(menu.get(), MF_STRING, IDM_FULLSCREEN, Wide(fullScreen));
    if (m_bFullScreen) CheckMenuItem(menu.get(), IDM_FULLSCREEN, MF_BYCOMMAND | MF_CHECKED);
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_EXIT, Wide(exit));
    // A menu's texts cannot be read back from the screen; the log says what it offered.
    WriteLog(u"context menu: \"" + fullScreen + (m_bFullScreen ? u"\" (checked), \"" : u"\", \"") + exit + u"\"");
    // At the cursor, not at the click; either button chooses an item.
    POINT pt{};
    GetCursorPos(&pt);
    const int nChosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    OnMenuCommand(nChosen);
}

bool CMainFrame::OnKeyDown(WPARAM nKey)
{
    if (nKey == VK_F11 || (nKey == VK_ESCAPE && m_bFullScreen)) {
        OnMenuCommand(IDM_FULLSCREEN);
        return true;
    }
    return false;
}

void CMainFrame::OnMenuCommand(int nCommand)
{
    if (nCommand == IDM_EXIT) {
        SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
    } else if (nCommand == IDM_FULLSCREEN) {
        m_bFullScreen = !m_bFullScreen;
        if (m_bFullScreen) {
            SwitchFullScreenOn();
        } else {
            SwitchFullScreenOff();
        }
    }
}

void CMainFrame::SwitchFullScreenOn()
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
    FollowFullScreenMode();
}

void CMainFrame::SwitchFullScreenOff()
{
    SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    const LONG style = GetWindowLongW(m_hWnd, GWL_STYLE);
    SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) | WS_POPUP | kFrameBits));
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);
    FollowFullScreenMode();
}

void CMainFrame::FollowFullScreenMode()
{
    m_cursorIdle.SetActive(m_bFullScreen, GetTickCount64());
    if (!m_bFullScreen || !m_bKeepScreenAwake) {
        m_pScreenAwake.reset();
    } else if (!m_pScreenAwake) {
        m_pScreenAwake = std::make_unique<ScreenAwake>();
    }
}

void CMainFrame::OnDpiChanged(const RECT& suggested)
{
    if (m_bFullScreen) {
        SwitchFullScreenOn();
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
