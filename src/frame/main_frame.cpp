#include "main_frame.h"

#include <QResizeEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include <algorithm>

#include "display/page_state_store.h"
#include "frame/screen_awake.h"
#include "frame/snapshot_writer.h"
#include "sound/bell_trigger.h"
#include "sound/sound_player.h"
#include "frame/window_flags.h"

CMainFrame::CMainFrame(int nPort)
    : m_nPort(nPort), m_pages([this] { RequestRepaint(); })
{
}

CMainFrame::~CMainFrame()
{
    StopServer();
    m_pSnapshot.reset();
    // Ends before the list: its thread may be putting the saved pages in. The teardown's
    // clearing below is no change to save, so a restart brings the pages back.
    m_pPageState.reset();
    std::lock_guard lock(m_pages.Mutex());
    m_pages.ClearPages();
}

bool CMainFrame::Create()
{
    // In place of the framework's window class and styles: a caption, a system menu, a
    // sizing border and a maximise box, but no minimise box; an arrow cursor; no
    // background, as every pixel comes from the paint handler.
    setWindowTitle(QStringLiteral("Pavlune_win"));
    setWindowFlags(kWindowedFlags);
    setCursor(Qt::ArrowCursor);
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
    // A server that cannot listen has told the user already; the window goes on and
    // keeps showing the information screen.
    StopServer();
    StartPageState();
    m_pServer = std::make_unique<CIOCPclass2016BC>();
    m_pServer->SetListenRules(m_listenRules);
    m_pServer->CreateField(m_nPort, this);
    if (m_nRepaintTimer == 0) {
        m_repaintTimer.start(kRepaintPeriodMs, this);
        m_nRepaintTimer = IDT_REPAINT;
    }
    return 0;
}

int CMainFrame::ListeningPort() const
{
    return m_pServer ? m_pServer->ListeningPort() : 0;
}

InfoFooter CMainFrame::ServerFooter() const
{
    // A display that could not listen names the port it was asked for.
    const int nListening = ListeningPort();
    return InfoFooter{nListening != 0 ? nListening : m_nPort, nListening != 0};
}

void CMainFrame::ShowMaximized()
{
    setGeometry(m_rcRestore);
    StoreClientSize(size());
    showMaximized();
}

void CMainFrame::ShowWithClientSize(int nWidth, int nHeight)
{
    const QPoint origin = screen() != nullptr ? screen()->availableGeometry().topLeft() : QPoint();
    m_rcRestore = QRect(origin, QSize(nWidth, nHeight));
    setGeometry(m_rcRestore);
    StoreClientSize(size());
    show();
}

void CMainFrame::EnterFullScreen()
{
    m_bFullScreen = true;
    SwitchFullScreenOn();
}

void CMainFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_repaintTimer.timerId()) {
        OnTimer(m_nRepaintTimer);
        return;
    }
    QWidget::timerEvent(event);
}

void CMainFrame::OnTimer(int)
{
    // The clock of a round page and the rotation of notes move on because each tick works
    // them out afresh. A tick whose picture would be the one shown composes nothing and
    // asks for nothing; otherwise only the part that changed goes to the screen.
    Refresh();
    // A screen that stays as it is gets no repaint that could take the picture.
    if (isVisible() && CanOfferSnapshotBetweenRepaints()) OfferSnapshot();
    FeedBell();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    StoreClientSize(event->size());
    QWidget::resizeEvent(event);
}

void CMainFrame::StoreClientSize(QSize size)
{
    const auto w = static_cast<std::uint32_t>(std::max(size.width(), 0));
    const auto h = static_cast<std::uint32_t>(std::max(size.height(), 0));
    m_nClientSize.store((static_cast<std::uint64_t>(w) << 32) | h, std::memory_order_relaxed);
}

ScreenSize CMainFrame::GetScreenSize() const
{
    const SIZE client = ClientSize();
    return ::GetScreenSize(client.cx, client.cy);
}

SIZE CMainFrame::ClientSize() const
{
    const std::uint64_t packed = m_nClientSize.load(std::memory_order_relaxed);
    return SIZE{static_cast<int>(packed >> 32), static_cast<int>(packed & 0xFFFFFFFFu)};
}

void CMainFrame::RequestRepaint()
{
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void CMainFrame::SetSnapshotFile(const std::string& strPath)
{
    m_pSnapshot = strPath.empty() ? nullptr : std::make_unique<SnapshotWriter>(strPath);
}
