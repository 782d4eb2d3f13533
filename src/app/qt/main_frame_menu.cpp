#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

#include "app/qt/main_frame.h"
#include "app/qt/screen_awake.h"
#include "app/qt/window_flags.h"
#include "os/lang_index.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

QString MenuText(const char* langText)
{
    return QString::fromStdU16String(Utf8ToWide(ChooseLangText(langText, WindowLangIndex())));
}

}  // namespace

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton) {
        OnRButtonDown();
    }
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F11 || (event->key() == Qt::Key_Escape && m_bFullScreen)) {
        OnMenuCommand(IDM_FULLSCREEN);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMainFrame::FillContextMenu(QMenu& menu) const
{
    QAction* pFullScreen = menu.addAction(MenuText(LangText::kMenuFullScreen));
    pFullScreen->setData(IDM_FULLSCREEN);
    if (m_bFullScreen) {
        pFullScreen->setCheckable(true);
        pFullScreen->setChecked(true);
    }
    menu.addSeparator();
    menu.addAction(MenuText(LangText::kMenuExit))->setData(IDM_EXIT);
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

void CMainFrame::OnMenuCommand(int nCommand)
{
    if (nCommand == IDM_EXIT) {
        close();
    } else if (nCommand == IDM_FULLSCREEN) {
        m_bFullScreen = !m_bFullScreen;
        if (m_bFullScreen) {
            SwitchFullScreenOn();
        } else {
            SwitchFullScreenOff();
        }
    }
}

void CMainFrame::SwitchFullScreenOn()
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
    FollowFullScreenMode();
}

void CMainFrame::SwitchFullScreenOff()
{
    setWindowFlags(kRestoredFlags);
    showNormal();
    if (m_rcRestore.isValid()) {
        setGeometry(m_rcRestore);
    }
    FollowFullScreenMode();
}

void CMainFrame::FollowFullScreenMode()
{
    m_cursorHider.SetActive(m_bFullScreen);
    if (!m_bFullScreen || !m_bKeepScreenAwake) {
        m_pScreenAwake.reset();
    } else if (!m_pScreenAwake) {
        m_pScreenAwake = std::make_unique<ScreenAwake>();
    }
}
