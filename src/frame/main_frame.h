#pragma once
#include <QBasicTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "display/screen_refresh.h"
#include "display/screen_state.h"
#include "frame/cursor_hider.h"
#include "display/screen_pages.h"
#include "display/screen_size.h"
#include "net/tip_proc_base.h"

class CBellTrigger;
class CSoundPlayer;
class PageStateStore;
class QMenu;
class QScreen;
class ScreenAwake;
class SnapshotWriter;

inline constexpr int IDT_REPAINT = 8319;
inline constexpr int kRepaintPeriodMs = 100;
inline constexpr int kServerPort = kStandardPort;
inline constexpr int IDM_FULLSCREEN = 2002;
inline constexpr int IDM_EXIT = 2010;

// The display's only window and the owner of everything that lives as long as it runs:
// the network server, the page list, the repaint timer. It is also the server's
// processor: messages arrive on the server's processing thread through OnMessage.
class CMainFrame : public QWidget, public CTipProcBase_IOCP_bc {
    Q_OBJECT
public:
    explicit CMainFrame(int nPort = kServerPort);
    // Stops the server and joins its threads before the page list goes, so no message
    // handling can touch a list that no longer exists.
    ~CMainFrame() override;

    // The monitor that the window opens on, and covers in full screen; before Create.
    // Without it, the primary one.
    void SetTargetScreen(QScreen* pScreen) { m_pTargetScreen = pScreen; }
    // Whether full-screen mode keeps the screen awake (the default) or leaves the
    // screen saver and power saving to the desktop.
    void SetKeepScreenAwake(bool bKeepAwake) { m_bKeepScreenAwake = bKeepAwake; }

    // Makes the native window and runs OnCreate: the server listens and the timer runs
    // before the window is first shown. False when the window could not be made.
    bool Create();
    // Shows the window maximised, or with the given client size, or full screen.
    void ShowMaximized();
    void ShowWithClientSize(int nWidth, int nHeight);
    void EnterFullScreen();

    // Where the server listens and whom it lets in; before Create.
    void SetListenRules(ListenRules rules) { m_listenRules = std::move(rules); }
    // The port the server listens on, or 0 when it could not listen.
    int ListeningPort() const;

    // Safe from any thread: reads the client size the window thread last stored.
    ScreenSize GetScreenSize() const;
    // The client size itself, likewise from any thread.
    SIZE ClientSize() const;

    bool IsFullScreenMode() const { return m_bFullScreen; }
    bool IsKeepingScreenAwake() const { return m_pScreenAwake != nullptr; }
    bool IsCursorHidden() const { return m_cursorHider.IsHidden(); }
    // Runs the menu's command as if it had been chosen (2002 or 2010). F11 is the same
    // as 2002; Escape is 2002 while full screen. No key ends the program.
    void OnMenuCommand(int nCommand);
    // The menu as it would open now: texts in the window's language, check mark.
    void FillContextMenu(QMenu& menu) const;

    // Keeps FILE showing what the window shows, at most once a second.
    void SetSnapshotFile(const std::string& strPath);
    // The director's warning stages and overtime blink for the round clock, and the bell
    // that rings as the round on the screen reaches each stage and its end (null: silent).
    void SetTimeSignals(const TimeSignals& timeSignals, std::unique_ptr<CSoundPlayer> pBell);
    // Before Create: keeps the page list saved in the directory from every message that
    // changes it on, and with bRestore brings back the list saved there at start.
    void SetPageStateDirectory(const std::string& strDir, bool bRestore);

    ScreenPageList& Pages() { return m_pages; }
    // A copy of what the window shows (its backing store), or of the part of it within
    // `area`, in Format_RGB32; null before the first repaint. Within a repaint on any
    // platform; at any time on X and offscreen.
    QImage ScreenImage(const QRect& area = QRect()) const;
    // What the screen shows, as the drawing that measured it; null before the first tick.
    const DrawingRecord* ShownDrawing() const { return m_refresh.Shown(); }

    void OnMessage(SOCKET s, CommMsg_base* pMsg) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int OnCreate();
    void OnTimer(int nIDEvent);
    void OnPaint(const QRegion& region);
    // Measures the screen of now and asks for a repaint of what changes.
    void Refresh();
    // Hands the snapshot writer the screen when a repaint changed it since the last
    // picture taken and a second has passed; within a repaint, or between repaints where
    // the backing store keeps its picture (X and offscreen).
    void OfferSnapshot();
    static bool CanOfferSnapshotBetweenRepaints();
    ScreenState CurrentScreenState() const
    {
        return ScreenState{m_bFullScreen, GetScreenSize(), ServerFooter(), m_timeSignals};
    }
    void OnRButtonDown();
    void SwitchFullScreenOn();
    void SwitchFullScreenOff();
    // The cursor hides and the screen stays awake exactly while full screen is on.
    void FollowFullScreenMode();
    void StoreClientSize(QSize size);
    // Safe from any thread: the repaint itself happens on the window thread.
    void RequestRepaint();
    void SendScreenSize(SOCKET s);
    // What the information screen's bottom band says about the server.
    InfoFooter ServerFooter() const;
    // Each tick: tells the bell which round the screen shows and how far it has run.
    void FeedBell();
    // Before the server starts, so no message can come before the saved list.
    void StartPageState();
    // After a message has changed the list; never with its lock held.
    void SavePages();

    const int m_nPort;
    ListenRules m_listenRules;
    bool m_bFullScreen = false;
    int m_nRepaintTimer = 0;
    QBasicTimer m_repaintTimer;
    ScreenPageList m_pages;
    // Width in the high half, height in the low half: one atomic read gives a pair that
    // belongs together.
    std::atomic<std::uint64_t> m_nClientSize{0};
    ScreenRefresh m_refresh;
    QRect m_rcRestore;
    std::unique_ptr<SnapshotWriter> m_pSnapshot;
    // A repaint changed the screen after the last snapshot was taken.
    bool m_bSnapshotOwed = false;
    QScreen* m_pTargetScreen = nullptr;
    bool m_bKeepScreenAwake = true;
    std::unique_ptr<ScreenAwake> m_pScreenAwake;
    CursorHider m_cursorHider{this, kCursorIdle};
    TimeSignals m_timeSignals;
    // The player goes after the trigger, whose ring calls it.
    std::unique_ptr<CSoundPlayer> m_pBell;
    std::unique_ptr<CBellTrigger> m_pBellTrigger;
    std::string m_strStateDir;
    bool m_bRestoreState = false;
    std::unique_ptr<PageStateStore> m_pPageState;
};
