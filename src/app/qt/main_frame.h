#pragma once
#include <QBasicTimer>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <memory>

#include "core/display_core.h"

class QMenu;
class QScreen;
class ScreenAwake;

// The display's only window, on Qt. What it does by itself, with Qt's calls:
// - the window: its flags, the monitor it opens on, maximised, sized or full screen;
// - the IDT_REPAINT timer, whose events call OnTimer;
// - the repaint requests of other threads, queued to the window thread;
// - the paint, into the backing store, and the copy of what it shows;
// - the context menu, the keys and the mouse, passed on to the core;
// - the cursor's shape and the screen kept awake, when the core asks.
// Every rule of the window (the tick's steps, the menu and keys, full screen, the idle
// cursor) is CDisplayCore's.
class CMainFrame : public QWidget, public CDisplayCore {
    Q_OBJECT
public:
    explicit CMainFrame(int nPort = kStandardPort);
    // Stops the server first: its threads call back into this object.
    ~CMainFrame() override;

    // The monitor that the window opens on, and covers in full screen; before Create.
    // Without it, the primary one.
    void SetTargetScreen(QScreen* pScreen) { m_pTargetScreen = pScreen; }

    // Makes the native window and runs OnCreate: the server listens and the timer runs
    // before the window is first shown. False when the window could not be made.
    bool Create() override;
    // Shows the window maximised, or with the given client size.
    void ShowMaximized() override;
    void ShowWithClientSize(int nWidth, int nHeight) override;

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
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void RequestRepaint() override;
    void ShownPicture(Image32& picture) const override;
    bool IsWindowShown() const override { return isVisible(); }
    void InvalidatePart(const RECT& part) override;
    bool KeepsPictureBetweenRepaints() const override;
    void ShowFullScreen() override;
    void ShowRestored() override;
    void CloseWindow() override { close(); }
    // Qt puts the window on the screen when its event loop runs.
    void UpdateNow() override {}
    void SetCursorShown(bool bShown) override;
    void HoldScreenAwake(bool bHold) override;
    std::uint64_t TickCountMs() const override;

private:
    int OnCreate();
    void OnPaint(const QRegion& region);
    void OnRButtonDown();

    int m_nRepaintTimer = 0;
    QBasicTimer m_repaintTimer;
    QRect m_rcRestore;
    QScreen* m_pTargetScreen = nullptr;
    std::unique_ptr<ScreenAwake> m_pScreenAwake;
};
