#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include "app/qt/main_frame.h"
#include "core/screen_awake.h"
#include "app/qt/window_flags.h"

namespace {

FrameKey ToFrameKey(int nKey)
{
    return nKey == Qt::Key_F11 ? FrameKey::F11 : nKey == Qt::Key_Escape ? FrameKey::Escape : FrameKey::Other;
}

}  // namespace

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    OnMouseActivity();
    if (event->button() == Qt::RightButton) {
        OnRButtonDown();
    }
}

void CMainFrame::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    OnMouseActivity();
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    if (!OnKeyDown(ToFrameKey(event->key()))) QWidget::keyPressEvent(event);
}

void CMainFrame::FillContextMenu(QMenu& menu) const
{
    for (const MenuItem& item : ContextMenuNow()) {
        if (item.nCommand == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* pAction = menu.addAction(QString::fromStdU16String(item.text));
        pAction->setData(item.nCommand);
        if (item.bChecked) {
            pAction->setCheckable(true);
            pAction->setChecked(true);
        }
    }
}

void CMainFrame::OnRButtonDown()
{
    // At the cursor, not at the click: the two differ when the menu is opened by a late
    // event. Either button chooses an item; the menu reads the flag each time it opens.
    QMenu menu(this);
    FillContextMenu(menu);
    const QAction* pChosen = menu.exec(QCursor::pos());
    OnMenuCommand(pChosen != nullptr ? pChosen->data().toInt() : 0);
}

void CMainFrame::ShowFullScreen()
{
    if (isVisible() && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) == 0) {
        m_rcRestore = geometry();
    }
    setWindowFlags(kFullScreenFlags);
    // The geometry as well as the state: without a window manager (a bare X server in a
    // kiosk) nobody else would make the window cover the screen.
    if (const QScreen* pScreen = screen()) {
        setGeometry(pScreen->geometry());
    }
    showFullScreen();
    raise();
    activateWindow();
}

void CMainFrame::ShowRestored()
{
    setWindowFlags(kRestoredFlags);
    showNormal();
    if (m_rcRestore.isValid()) {
        setGeometry(m_rcRestore);
    }
}

void CMainFrame::SetCursorShown(bool bShown)
{
    setCursor(bShown ? Qt::ArrowCursor : Qt::BlankCursor);
}

void CMainFrame::HoldScreenAwake(bool bHold)
{
    m_pScreenAwake = bHold ? std::make_unique<ScreenAwake>() : nullptr;
}
