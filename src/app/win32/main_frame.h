#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "core/display_core.h"
#include "draw/image32.h"
#include "draw/win32/dib_section.h"

class ScreenAwake;

// The display's only window, on Windows. What it does by itself, with Win32's calls:
// - the window: its class and styles, the monitor it opens on, maximised, sized or full
//   screen, and full screen kept over the monitor when its resolution or DPI changes;
// - the IDT_REPAINT timer, whose WM_TIMER calls OnTimer;
// - the repaint requests of other threads, posted to the window thread;
// - the paint, into the picture it keeps, and the copy of what it shows;
// - the context menu, the keys and the mouse, passed on to the core;
// - the cursor's shape and the screen kept awake, when the core asks.
// Every rule of the window (the tick's steps, the menu and keys, full screen, the idle
// cursor) is CDisplayCore's.
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

    // Makes the window (hidden) and runs OnCreate: the server listens and the timer runs
    // before the window is first shown. False when the window could not be made.
    bool Create() override;
    void ShowMaximized() override;
    void ShowWithClientSize(int nWidth, int nHeight) override;

    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    void RequestRepaint() override;
    void ShownPicture(Image32& picture) const override;
    bool IsWindowShown() const override { return IsWindowVisible(m_hWnd) != FALSE; }
    void InvalidatePart(const RECT& part) override { InvalidateRect(m_hWnd, &part, FALSE); }
    // The window keeps its picture between repaints.
    bool KeepsPictureBetweenRepaints() const override { return true; }
    void ShowFullScreen() override;
    void ShowRestored() override;
    void CloseWindow() override { SendMessageW(m_hWnd, WM_CLOSE, 0, 0); }
    void UpdateNow() override { UpdateWindow(m_hWnd); }
    void SetCursorShown(bool bShown) override;
    void HoldScreenAwake(bool bHold) override;
    std::uint64_t TickCountMs() const override { return GetTickCount64(); }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowMessage(UINT nMsg, WPARAM wParam, LPARAM lParam);

    int OnCreate();
    void OnPaint();
    void OnSize(int nWidth, int nHeight);
    void OnRButtonDown();
    void OnDpiChanged(const RECT& suggested);

    RECT MonitorRect() const;
    RECT WorkArea() const;

    HWND m_hWnd = nullptr;
    // The window that other threads' repaint requests go to; null once it is gone.
    std::atomic<HWND> m_hRepaintTarget{nullptr};
    std::atomic<bool> m_bRefreshPosted{false};
    UINT_PTR m_nRepaintTimer = 0;
    HMONITOR m_hTargetMonitor = nullptr;
    std::unique_ptr<ScreenAwake> m_pScreenAwake;
    // What the client area shows, kept between repaints and drawn on in place: a repaint
    // draws only the parts it is asked for and puts only those on the screen, and the
    // colour key leaves the pixels below as they were. Made anew only when the client
    // area's size changes; null while it has none.
    std::unique_ptr<DibSection> m_pScreen;
};

// The window thread's message loop; returns when the main window is gone.
int RunMessageLoop();
