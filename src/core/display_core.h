#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/cursor_idle.h"
#include "core/frame_commands.h"
#include "display/pages/screen_pages.h"
#include "display/drawing/screen_refresh.h"
#include "display/pages/screen_size.h"
#include "display/pages/screen_state.h"
#include "net/tip_proc_base.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_types.h"
#include "os/date_time.h"
#include "draw/image32.h"

class CBellTrigger;
class CSoundPlayer;
class PageStateStore;
class ScreenPictureService;
class SnapshotWriter;

// Everything the display is besides its window, the same on every platform: the network
// server and its processor (messages arrive on the server's processing thread through
// OnMessage), the page list, the screen's measure and repaint, the saved pages, the bell
// and the snapshot, and the window's rules: the tick, the menu and keys, full screen and
// what follows it. The platform's main window (CMainFrame) derives from it: it stores its
// client size, calls OnTimer every kRepaintPeriodMs, paints through it, passes on its
// menu, keys and mouse, and does what the core asks of the window system (the pure
// virtual functions below).
//
// Teardown: the destructor stops the server and joins its threads before the page list
// goes, so no message handling can touch a list that no longer exists.
// Lets a reply that has just been handed to the send path leave before a handled
// connection ends; a timer of the connection, so the next message is not held up.
inline constexpr std::chrono::milliseconds kCloseDelay{50};

class CDisplayCore : public CTipProcBase_IOCP_bc {
public:
    explicit CDisplayCore(int nPort);
    ~CDisplayCore() override;

    // Before StartServing: where the server listens and whom it lets in; the snapshot
    // file; the director's warning stages, overtime blink and the bell that rings as
    // the round on the screen reaches each stage and its end (null: silent); and the
    // directory the page list is kept in, restored from at start with bRestore.
    void SetListenRules(ListenRules rules) { m_listenRules = std::move(rules); }
    void SetSnapshotFile(const std::string& strPath);
    void SetTimeSignals(const TimeSignals& timeSignals, std::unique_ptr<CSoundPlayer> pBell);
    void SetPageStateDirectory(const std::string& strDir, bool bRestore);
    // Whether the screen picture and status requests are answered (the default) or
    // ignored as unknown messages.
    void SetRemoteView(bool bRemoteView) { m_bRemoteView = bRemoteView; }

    // The port the server listens on, or 0 when it could not listen.
    int ListeningPort() const;
    // Safe from any thread: the client size the window thread last stored, and the
    // screen size reported for it.
    SIZE ClientSize() const;
    ScreenSize GetScreenSize() const;

    ScreenPageList& Pages() { return m_pages; }
    // What the screen shows, as the drawing that measured it; null before the first tick.
    const DrawingRecord* ShownDrawing() const { return m_refresh.Shown(); }

    void OnMessage(SOCKET s, CommMsg_base* pMsg) override;

    // The platform's window: makes it, hidden, running the timer, with the server
    // listening (StartServing); false when it could not be made. Then shows it
    // maximised, or with the given client size (or EnterFullScreen).
    virtual bool Create() = 0;
    virtual void ShowMaximized() = 0;
    virtual void ShowWithClientSize(int nWidth, int nHeight) = 0;

    // Window thread, from the window system's events.
    // Each IDT_REPAINT tick: runs what other threads asked of the window, measures the
    // screen of now and invalidates what changed, offers the snapshot, feeds the bell, and
    // hides an idle cursor. A tick whose picture would be the one shown asks for nothing.
    void OnTimer();
    // What a RequestRepaint brings, at once rather than at the next tick.
    void OnRepaintRequest();
    // Runs the menu's command as if it had been chosen (IDM_FULLSCREEN or IDM_EXIT).
    void OnMenuCommand(int nCommand);
    // True when the key was the window's and has been handled.
    bool OnKeyDown(FrameKey key);
    // A movement or click over the window: an idle cursor shows again.
    void OnMouseActivity();
    std::vector<MenuItem> ContextMenuNow() const { return ContextMenu(m_bFullScreen); }
    // Before the window is first shown, in place of showing it otherwise.
    void EnterFullScreen();

    // Whether full-screen mode keeps the screen awake (the default) or leaves the screen
    // saver and power saving to the desktop.
    void SetKeepScreenAwake(bool bKeepAwake) { m_bKeepScreenAwake = bKeepAwake; }
    bool IsFullScreenMode() const { return m_bFullScreen; }
    bool IsKeepingScreenAwake() const { return m_bKeepingAwake; }
    bool IsCursorHidden() const { return m_cursorIdle.IsHidden(); }

protected:
    // What the core asks of the platform's window, on the window thread.
    virtual bool IsWindowShown() const = 0;
    virtual void InvalidatePart(const RECT& part) = 0;
    // Whether the window keeps its picture between repaints, so that a screen that stays as
    // it is can be taken at any tick rather than only within a repaint.
    virtual bool KeepsPictureBetweenRepaints() const = 0;
    // Covers the whole monitor, on top; back to the restored window; closes the window,
    // which ends the program.
    virtual void ShowFullScreen() = 0;
    virtual void ShowRestored() = 0;
    virtual void CloseWindow() = 0;
    // Puts what is invalid on the screen now, where the window system can.
    virtual void UpdateNow() = 0;
    virtual void SetCursorShown(bool bShown) = 0;
    virtual void HoldScreenAwake(bool bHold) = 0;
    // The window system's steady clock in milliseconds, which the idle cursor counts by.
    virtual std::uint64_t TickCountMs() const = 0;

    // The saved pages come back (pictures fitted to the client area, or to `screen`
    // while the window has no size yet) and then the server listens, so no message can
    // come before the saved list. A server that cannot listen has told the user
    // already; the window goes on and keeps showing the information screen.
    void StartServing(SIZE screen);

    // Window thread only.
    void StoreClientSize(SIZE client);
    // Draws the parts of the screen that a repaint asked for, as last measured.
    void PaintScreen(CDC& dc, const std::vector<RECT>& parts);
    // After a repaint changed the screen.
    void NoteScreenChanged() { m_bSnapshotOwed = m_pSnapshot != nullptr; }
    // Hands the snapshot writer what the window shows when it is owed one and a second
    // has passed since the last, so the picture is copied at most once a second.
    void OfferSnapshot();

    // Safe from any thread: asks the window thread to call OnRepaintRequest soon, so that
    // a message's page shows without waiting for the timer.
    virtual void RequestRepaint() = 0;
    // Window thread: a copy of what the window shows, after the colour key, into `picture`
    // (its storage reused when large enough: the screen is copied again and again while
    // a desk watches); an empty image when it shows nothing.
    virtual void ShownPicture(Image32& picture) const = 0;

    // Written by the window thread, read by the status on the processing thread.
    std::atomic<bool> m_bFullScreen{false};

private:
    // Measures the screen of now and invalidates what changes.
    void Refresh();
    // Runs what other threads asked of the window thread (RunOnWindowThread).
    void RunWindowTasks();
    // Each tick: tells the bell which round the screen shows and how far it has run.
    void FeedBell();
    // The cursor hides and the screen stays awake exactly while full screen is on.
    void FollowFullScreenMode();
    ScreenState CurrentScreenState() const;
    // What the information screen's bottom band says about the server.
    InfoFooter ServerFooter() const;
    void SendScreenSize(SOCKET s);
    void SendStatus(SOCKET s);
    void CountMessage(int nMsgID);
    // Safe from any thread: the task runs on the window thread at its next wake-up.
    void RunOnWindowThread(std::function<void()> task);
    // After a message has changed the list; never with its lock held.
    void SavePages();

    const int m_nPort;
    ListenRules m_listenRules;
    ScreenPageList m_pages;
    // Width in the high half, height in the low half: one atomic read gives a pair that
    // belongs together.
    std::atomic<std::uint64_t> m_nClientSize{0};
    ScreenRefresh m_refresh;
    std::unique_ptr<SnapshotWriter> m_pSnapshot;
    // A repaint changed the screen after the last snapshot was taken.
    bool m_bSnapshotOwed = false;
    TimeSignals m_timeSignals;
    // The player goes after the trigger, whose ring calls it.
    std::unique_ptr<CSoundPlayer> m_pBell;
    std::unique_ptr<CBellTrigger> m_pBellTrigger;
    std::string m_strStateDir;
    bool m_bRestoreState = false;
    std::unique_ptr<PageStateStore> m_pPageState;
    bool m_bRemoteView = true;
    const DateTime m_tStarted;
    // Processing thread only: messages handled, by identifier (known ones only).
    std::map<int, std::uint64_t> m_messageCounts;
    std::mutex m_mtxWindowTasks;
    std::vector<std::function<void()>> m_windowTasks;
    // Made when the server starts, stopped before it stops.
    std::unique_ptr<ScreenPictureService> m_pPictureService;
    bool m_bKeepScreenAwake = true;
    bool m_bKeepingAwake = false;
    CursorIdle m_cursorIdle;
};
