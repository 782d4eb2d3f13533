#pragma once
#include <QBasicTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <memory>

#include "app/qt/cursor_hider.h"
#include "core/display_core.h"

class QMenu;
class QScreen;
class ScreenAwake;

inline constexpr int IDT_REPAINT = 8319;
inline constexpr int kRepaintPeriodMs = 100;
inline constexpr int IDM_FULLSCREEN = 2002;
inline constexpr int IDM_EXIT = 2010;

// The display's only window, on Qt: the window, its repaint timer, menu, keys, full
// screen, cursor and the screen kept awake. Everything else it is comes from
// CDisplayCore, which it drives from the window thread.
class CMainFrame : public QWidget, public CDisplayCore {
    Q_OBJECT
public:
    explicit CMainFrame(int nPort = kStandardPort);
    // Stops the server first: its threads call back into this object.
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

    bool IsFullScreenMode() const { return m_bFullScreen; }
    bool IsKeepingScreenAwake() const { return m_pScreenAwake != nullptr; }
    bool IsCursorHidden() const { return m_cursorHider.IsHidden(); }
    // Runs the menu's command as if it had been chosen (2002 or 2010). F11 is the same
    // as 2002; Escape is 2002 while full screen. No key ends the program.
    void OnMenuCommand(int nCommand);
    // The menu as it would open now: texts in the window's language, check mark.
    void FillContextMenu(QMenu& menu) const;

    // A copy of what the window shows (its backing store), or of the part of it within
    // `area`, in Format_RGB32; null before the first repaint. Within a repaint on any
    // platform; at any time on X and offscreen.
    QImage ScreenImage(const QRect& area = QRect()) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void RequestRepaint() override;
    Image32 ShownPicture() const override;

private:
    int OnCreate();
    void OnTimer(int nIDEvent);
    void OnPaint(const QRegion& region);
    // Measures the screen of now and asks for a repaint of what changes.
    void Refresh();
    // Hands the snapshot writer the screen when it is owed one; within a repaint, or
    // between repaints where the backing store keeps its picture (X and offscreen).
    void OfferScreenSnapshot();
    static bool CanOfferSnapshotBetweenRepaints();
    void OnRButtonDown();
    void SwitchFullScreenOn();
    void SwitchFullScreenOff();
    // The cursor hides and the screen stays awake exactly while full screen is on.
    void FollowFullScreenMode();

    int m_nRepaintTimer = 0;
    QBasicTimer m_repaintTimer;
    QRect m_rcRestore;
    QScreen* m_pTargetScreen = nullptr;
    bool m_bKeepScreenAwake = true;
    std::unique_ptr<ScreenAwake> m_pScreenAwake;
    CursorHider m_cursorHider{this, kCursorIdle};
};
