// The window itself: its form at start, the size it reports, the menu and full-screen
// mode, and the picture it puts on the screen.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>

#include "app/qt/window_flags.h"
#include "frame_fixture.h"

namespace {

using Window = FrameTest;

TEST_F(Window, StartsWithCaptionMaximiseAndCloseButNoMinimise)
{
    EXPECT_EQ(m_pFrame->windowTitle(), "Pavlune_win");
    const Qt::WindowFlags flags = m_pFrame->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(m_pFrame->IsFullScreenMode());
}

struct SizeCase {
    int nWidth, nHeight;
    int nReportedWidth, nReportedHeight;
};

class ReportedSize : public FrameTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ReportedSize, FollowsTheClientArea)
{
    const SizeCase& c = GetParam();
    m_pFrame->ShowWithClientSize(c.nWidth, c.nHeight);
    EXPECT_EQ(m_pFrame->GetScreenSize(), (ScreenSize{c.nReportedWidth, c.nReportedHeight}));
}

INSTANTIATE_TEST_SUITE_P(ClientAreas, ReportedSize,
                         ::testing::Values(SizeCase{1920, 1080, 1920, 1080}, SizeCase{1366, 768, 1366, 768},
                                           SizeCase{2047, 1000, 2047, 1000}, SizeCase{2048, 1152, 1024, 576},
                                           SizeCase{2560, 1440, 1280, 720}, SizeCase{3840, 2160, 1920, 1080},
                                           SizeCase{4096, 2160, 1024, 540}));

TEST_F(Window, ScreenSizeIsSafeToReadWhileTheWindowIsResized)
{
    // The processing thread reads the size while the window thread changes it: every read
    // must be a pair the window really had.
    std::atomic<bool> bStop{false};
    std::atomic<bool> bTorn{false};
    std::thread reader([&] {
        while (!bStop) {
            const ScreenSize s = m_pFrame->GetScreenSize();
            if (!(s == ScreenSize{1920, 1080} || s == ScreenSize{1280, 720})) {
                bTorn = true;
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        m_pFrame->ShowWithClientSize(i % 2 == 0 ? 2560 : 1920, i % 2 == 0 ? 1440 : 1080);
    }
    bStop = true;
    reader.join();
    EXPECT_FALSE(bTorn);
}

struct MenuCase {
    const char* locale;
    const char* fullScreenText;
    const char* exitText;
};

class MenuTexts : public FrameTest, public ::testing::WithParamInterface<MenuCase> {
protected:
    void TearDown() override { setenv("LC_ALL", "C.UTF-8", 1); }
};

TEST_P(MenuTexts, KeepTheirTrailingSpacesAndShowTheCheckMarkInFullScreen)
{
    setenv("LC_ALL", GetParam().locale, 1);
    for (const bool bFullScreen : {false, true}) {
        if (bFullScreen) {
            m_pFrame->OnMenuCommand(IDM_FULLSCREEN);
        }
        QMenu menu;
        m_pFrame->FillContextMenu(menu);
        const QList<QAction*> actions = menu.actions();
        ASSERT_EQ(actions.size(), 3);
        EXPECT_EQ(actions[0]->text(), QString::fromUtf8(GetParam().fullScreenText));
        EXPECT_EQ(actions[0]->data().toInt(), IDM_FULLSCREEN);
        EXPECT_EQ(actions[0]->isChecked(), bFullScreen);
        EXPECT_TRUE(actions[1]->isSeparator());
        EXPECT_EQ(actions[2]->text(), QString::fromUtf8(GetParam().exitText));
        EXPECT_EQ(actions[2]->data().toInt(), IDM_EXIT);
        EXPECT_TRUE(actions[0]->isEnabled() && actions[2]->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(ByLocale, MenuTexts,
                         ::testing::Values(MenuCase{"C.UTF-8", "Full screen   ", "Exit   "},
                                           MenuCase{"zh_CN.UTF-8", "全屏   ", "退出   "}));

// Right-clicks the window and, once the menu is up, runs `choose` on it.
void RightClickAndThen(CMainFrame& frame, const std::function<void(QMenu&)>& choose)
{
    QTimer::singleShot(0, [&] {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(pMenu, nullptr) << "no menu opened";
        choose(*pMenu);
    });
    const QPointF where(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, where, frame.mapToGlobal(where), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&frame, &press);
}

void ChooseItem(QMenu& menu, int nCommand)
{
    for (QAction* pAction : menu.actions()) {
        if (pAction->data().toInt() == nCommand) {
            // As the operator would: highlight the item, press Enter.
            menu.setActiveAction(pAction);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(&menu, &enter);
            return;
        }
    }
    menu.close();
}

TEST_F(Window, RightClickOpensTheMenuAtTheCursor)
{
    QCursor::setPos(123, 77);
    QPoint menuAt;
    RightClickAndThen(*m_pFrame, [&](QMenu& menu) {
        menuAt = menu.pos();
        menu.close();
    });
    EXPECT_EQ(menuAt, QCursor::pos());
    EXPECT_FALSE(m_pFrame->IsFullScreenMode()) << "a dismissed menu changes nothing";
}

TEST_F(Window, FullScreenAndBackThroughTheMenu)
{
    RightClickAndThen(*m_pFrame, [](QMenu& menu) { ChooseItem(menu, IDM_FULLSCREEN); });
    EXPECT_TRUE(m_pFrame->IsFullScreenMode());
    EXPECT_TRUE(m_pFrame->windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(m_pFrame->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(m_pFrame->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(m_pFrame->isVisible());

    RightClickAndThen(*m_pFrame, [](QMenu& menu) { ChooseItem(menu, IDM_FULLSCREEN); });
    EXPECT_FALSE(m_pFrame->IsFullScreenMode());
    EXPECT_FALSE(m_pFrame->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
    EXPECT_EQ(m_pFrame->windowFlags(), kRestoredFlags) << "framed again, and now with a minimise box";
    EXPECT_EQ(m_pFrame->size(), QSize(1920, 1080)) << "back at its restored size";
    EXPECT_TRUE(m_pFrame->isVisible());
}

TEST_F(Window, ExitClosesTheWindowAsTheCloseButtonDoes)
{
    RightClickAndThen(*m_pFrame, [](QMenu& menu) { ChooseItem(menu, IDM_EXIT); });
    EXPECT_FALSE(m_pFrame->isVisible());
}

TEST_F(Window, RepaintsShowTheInformationScreenAtTheClientSize)
{
    ProcessEventsFor(300);
    const QImage& screen = m_pFrame->ScreenImage();
    ASSERT_EQ(screen.size(), QSize(1920, 1080));
    EXPECT_EQ(screen.pixel(0, 0), qRgb(22, 96, 128));
    EXPECT_EQ(screen.pixel(1919, 1079), qRgb(22, 96, 128));
}

}  // namespace
