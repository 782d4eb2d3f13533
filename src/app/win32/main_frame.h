#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "core/display_core.h"
#include "draw/image32.h"
#include "draw/win32/dib_section.h"
#include "app/win32/cursor_idle.h"

class ScreenAwake;

inline constexpr UINT_PTR IDT_REPAINT = 8319;
inline constexpr UINT kRepaintPeriodMs = 100;
inline constexpr int IDM_FULLSCREEN = 2002;
inline constexpr int IDM_EXIT = 2010;

// The display's only window, on Windows: a window class of its own, the repaint timer,
// the paint through an off-screen picture, menu, keys, full screen, cursor and the screen
// kept awake. Everything else it is comes from CDisplayCore, which it drives from the
// window thread.
class CMainFrame : public CDisplayCore {
public:
    explicit CMainFrame(int nPort = kStandardPort);
    // Stops the server first: its threads call back into this object.
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The monitor that the window opens on and covers in full screen; before Create.
    // Without it, the primary one.
    void SetTargetMonitor(HMONITOR hMonitor) { m_hTargetMonitor = hMonitor; }
    void SetKeepScreenAwake(bool bKeepAwake) { m_bKeepScreenAwake = bKeepAwake; }

    // Makes the window (hidden) and runs OnCreate: the server listens and the timer runs
    // before the window is first shown. False when the window could not be made.
    bool Create();
    void ShowMaximized();
    void ShowWithClientSize(int nWidth, int nHeight);
    void EnterFullScreen();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // Runs the menu's command as if it had been chosen (2002 or 2010).
    void OnMenuCommand(int nCommand);

protected:
    void RequestRepaint() override;
    Image32 ShownPicture() const override;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);

    int OnCreate();
    void OnTimer();
    void OnPaint();
    void OnSize(int nWidth, int nHeight);
    void OnRButtonDown();
    bool OnKeyDown(WPARAM nKey);
    void OnDpiChanged(const RECT& suggested);

    // Measures the screen of now and invalidates what changes.
    void Refresh();
    void SwitchFullScreenOn();
    void SwitchFullScreenOff();
    // The cursor hides and the screen stays awake exactly while full screen is on.
    void FollowFullScreenMode();
    RECT MonitorRect() const;
    RECT WorkArea() const;

    HWND m_hWnd = nullptr;
    // The window that other threads' repaint requests go to; null once it is gone.
    std::atomic<HWND> m_hRepaintTarget{nullptr};
    std::atomic<bool> m_bRefreshPosted{false};
    UINT_PTR m_nRepaintTimer = 0;
    HMONITOR m_hTargetMonitor = nullptr;
    bool m_bKeepScreenAwake = true;
    std::unique_ptr<ScreenAwake> m_pScreenAwake;
    CursorIdle m_cursorIdle;
    // What the client area shows, kept between repaints and drawn on in place: a repaint
    // draws only the parts it is asked for and puts only those on the screen, and the
    // colour key leaves the pixels below as they were. Made anew only when the client
    // area's size changes; null while it has none.
    std::unique_ptr<DibSection> m_pScreen;
};

// The window thread's message loop; returns when the main window is gone.
int RunMessageLoop();
