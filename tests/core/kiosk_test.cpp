// The window as a kiosk: the keys that switch full screen, what full screen holds on to
// (the screen kept awake, the idle cursor hidden), and what it lets go of afterwards.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "frame_fixture.h"

namespace {

bool MenuShowsCheckMark(const CMainFrame& frame)
{
    QMenu menu;
    frame.FillContextMenu(menu);
    return menu.actions().front()->isChecked();
}

void PressKey(CMainFrame& frame, int nKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, nKey, modifiers);
    QCoreApplication::sendEvent(&frame, &press);
}

using Kiosk = FrameTest;

struct KeyCase {
    bool bFullScreenBefore;
    int nKey;
    Qt::KeyboardModifiers modifiers;
    bool bFullScreenAfter;
};

class Keys : public FrameTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, SwitchFullScreenLikeTheMenuAndNeverClose)
{
    const KeyCase& c = GetParam();
    if (c.bFullScreenBefore) {
        m_pFrame->OnMenuCommand(IDM_FULLSCREEN);
    }
    PressKey(*m_pFrame, c.nKey, c.modifiers);
    EXPECT_EQ(m_pFrame->IsFullScreenMode(), c.bFullScreenAfter);
    EXPECT_EQ(MenuShowsCheckMark(*m_pFrame), c.bFullScreenAfter);
    EXPECT_EQ(m_pFrame->IsKeepingScreenAwake(), c.bFullScreenAfter);
    EXPECT_TRUE(m_pFrame->isVisible()) << "a key closed the window";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Keys,
    ::testing::Values(KeyCase{false, Qt::Key_F11, Qt::NoModifier, true},
                      KeyCase{true, Qt::Key_F11, Qt::NoModifier, false},
                      KeyCase{true, Qt::Key_Escape, Qt::NoModifier, false},
                      KeyCase{false, Qt::Key_Escape, Qt::NoModifier, false},
                      KeyCase{true, Qt::Key_Q, Qt::ControlModifier, true},
                      KeyCase{false, Qt::Key_F4, Qt::AltModifier, false},
                      KeyCase{true, Qt::Key_Return, Qt::NoModifier, true}));

TEST_F(Kiosk, AllowedBlankingKeepsNothingAwakeInFullScreen)
{
    m_pFrame->SetKeepScreenAwake(false);
    PressKey(*m_pFrame, Qt::Key_F11);
    ASSERT_TRUE(m_pFrame->IsFullScreenMode());
    EXPECT_FALSE(m_pFrame->IsKeepingScreenAwake());
}

TEST_F(Kiosk, LeavingFullScreenShowsTheHiddenCursor)
{
    PressKey(*m_pFrame, Qt::Key_F11);
    ASSERT_TRUE(WaitForEvents([&] { return m_pFrame->IsCursorHidden(); }, std::chrono::seconds(30)));
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::BlankCursor);
    PressKey(*m_pFrame, Qt::Key_Escape);
    EXPECT_FALSE(m_pFrame->IsCursorHidden());
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::ArrowCursor);
}

struct CursorEventCase {
    QEvent::Type type;
    Qt::MouseButton button;
};

class CursorActivity : public FrameTest, public ::testing::WithParamInterface<CursorEventCase> {};

TEST_P(CursorActivity, BringsTheHiddenCursorBack)
{
    PressKey(*m_pFrame, Qt::Key_F11);
    ASSERT_TRUE(WaitForEvents([&] { return m_pFrame->IsCursorHidden(); }, std::chrono::seconds(30)));
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::BlankCursor);

    QMouseEvent event(GetParam().type, QPointF(5, 5), QPointF(5, 5), GetParam().button, GetParam().button,
                      Qt::NoModifier);
    if (GetParam().button == Qt::RightButton) {
        // The right button opens the menu, which waits for a choice: dismissed at once.
        QTimer::singleShot(0, [] {
            if (QWidget* pMenu = QApplication::activePopupWidget()) pMenu->close();
        });
    }
    QCoreApplication::sendEvent(m_pFrame.get(), &event);
    EXPECT_FALSE(m_pFrame->IsCursorHidden());
    EXPECT_EQ(m_pFrame->cursor().shape(), Qt::ArrowCursor);
    // And it hides again after the next quiet spell.
    EXPECT_TRUE(WaitForEvents([&] { return m_pFrame->IsCursorHidden(); }, std::chrono::seconds(30)));
}

INSTANTIATE_TEST_SUITE_P(MoveAndClick, CursorActivity,
                         ::testing::Values(CursorEventCase{QEvent::MouseMove, Qt::NoButton},
                                           CursorEventCase{QEvent::MouseButtonPress, Qt::RightButton}));

}  // namespace
