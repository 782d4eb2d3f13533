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
// and the snapshot. The platform's main window (CMainFrame) derives from it: it stores
// its client size, ticks it ten times a second, paints through it, and carries out the
// repaint requests that come from other threads.
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

protected:
    // The saved pages come back (pictures fitted to the client area, or to `screen`
    // while the window has no size yet) and then the server listens, so no message can
    // come before the saved list. A server that cannot listen has told the user
    // already; the window goes on and keeps showing the information screen.
    void StartServing(SIZE screen);

    // Window thread only.
    void StoreClientSize(SIZE client);
    // Measures the screen of now; returns the parts the window is to invalidate.
    std::vector<RECT> TickScreen();
    // Draws the parts of the screen that a repaint asked for, as last measured.
    void PaintScreen(CDC& dc, const std::vector<RECT>& parts);
    // Each tick: tells the bell which round the screen shows and how far it has run.
    void FeedBell();
    // After a repaint changed the screen; the picture is taken when a second has passed
    // since the last one, so `screenPicture` is called at most once a second.
    void NoteScreenChanged() { m_bSnapshotOwed = m_pSnapshot != nullptr; }
    void OfferSnapshot(const std::function<Image32()>& screenPicture);

    // Safe from any thread: asks the window thread to tick at once, so that a message's
    // page shows without waiting for the timer. The window's handling of it begins with
    // RunWindowTasks.
    virtual void RequestRepaint() = 0;
    // Window thread: runs what other threads asked of it (RunOnWindowThread).
    void RunWindowTasks();
    // Window thread: a copy of what the window shows, after the colour key; an empty
    // image when it shows nothing.
    virtual Image32 ShownPicture() const = 0;

    // Written by the window thread, read by the status on the processing thread.
    std::atomic<bool> m_bFullScreen{false};

private:
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
};
