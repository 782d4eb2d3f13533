#include "main_frame.h"

#include <QResizeEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include <chrono>

#include "app/qt/window_flags.h"
#include "core/screen_awake.h"

CMainFrame::CMainFrame(int nPort) : CDisplayCore(nPort) {}

CMainFrame::~CMainFrame()
{
    StopServer();
}

bool CMainFrame::Create()
{
    // In place of the framework's window class and styles: a caption, a system menu, a
    // sizing border and a maximise box, but no minimise box; an arrow cursor; no
    // background, as every pixel comes from the paint handler.
    setWindowTitle(QStringLiteral("Pavlune_win"));
    setWindowFlags(kWindowedFlags);
    setCursor(Qt::ArrowCursor);
    // Movement without a button pressed reaches the window only with tracking on; the
    // idle cursor comes back at it.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    create();
    if (windowHandle() == nullptr) {
        return false;
    }
    if (m_pTargetScreen != nullptr) {
        windowHandle()->setScreen(m_pTargetScreen);
    }
    if (const QScreen* pScreen = screen()) {
        // The restored form of a window that starts maximised: the framework's default
        // size, three quarters of the work area, centred.
        const QRect work = pScreen->availableGeometry();
        m_rcRestore = QRect(0, 0, work.width() * 3 / 4, work.height() * 3 / 4);
        m_rcRestore.moveCenter(work.center());
    }
    return OnCreate() == 0;
}

int CMainFrame::OnCreate()
{
    const QSize screenSize = screen() != nullptr ? screen()->size() : QSize();
    StartServing(SIZE{screenSize.width(), screenSize.height()});
    if (m_nRepaintTimer == 0) {
        m_repaintTimer.start(kRepaintPeriodMs, this);
        m_nRepaintTimer = IDT_REPAINT;
    }
    return 0;
}

void CMainFrame::ShowMaximized()
{
    setGeometry(m_rcRestore);
    StoreClientSize(SIZE{width(), height()});
    showMaximized();
}

void CMainFrame::ShowWithClientSize(int nWidth, int nHeight)
{
    const QPoint origin = screen() != nullptr ? screen()->availableGeometry().topLeft() : QPoint();
    m_rcRestore = QRect(origin, QSize(nWidth, nHeight));
    setGeometry(m_rcRestore);
    StoreClientSize(SIZE{width(), height()});
    show();
}

void CMainFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_repaintTimer.timerId()) {
        OnTimer();
        return;
    }
    QWidget::timerEvent(event);
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    StoreClientSize(SIZE{event->size().width(), event->size().height()});
    QWidget::resizeEvent(event);
}

void CMainFrame::RequestRepaint()
{
    QMetaObject::invokeMethod(this, [this] { OnRepaintRequest(); }, Qt::QueuedConnection);
}

std::uint64_t CMainFrame::TickCountMs() const
{
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}
