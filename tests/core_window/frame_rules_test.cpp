// The window's rules as the core keeps them for every shell: the tick, the menu and keys,
// full screen and what follows it, the idle cursor.
#include "core/cursor_idle.h"
#include "fake_frame_fixture.h"

namespace {

using Strings = std::vector<std::string>;

struct CursorStep {
    const char* what;
    std::uint64_t nAtMs;
    bool bMove;      // a movement or click at that time, else a tick
    bool bExpected;  // what the step returns
    bool bHidden;    // the state after it
};

TEST(CursorIdleTest, HidesAfterThreeStillSecondsAndShowsAtTheNextMovement)
{
    const CursorStep steps[] = {
        {"tick before the idle time", 2999, false, false, false},
        {"tick at three seconds", 3000, false, true, true},
        {"a later tick changes nothing", 5000, false, false, true},
        {"a movement shows it", 5100, true, true, false},
        {"three seconds from the movement, not from the start", 8000, false, false, false},
        {"then it hides again", 8100, false, true, true},
    };
    CursorIdle idle;
    idle.SetActive(true, 0);
    for (const CursorStep& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.bMove ? idle.OnMouseActivity(step.nAtMs) : idle.Tick(step.nAtMs), step.bExpected);
        EXPECT_EQ(idle.IsHidden(), step.bHidden);
    }
    // Leaving full screen shows it and keeps it shown.
    idle.SetActive(false, 9000);
    EXPECT_FALSE(idle.IsHidden());
    EXPECT_FALSE(idle.Tick(60000));
}

using FrameRules = FakeFrameTest;

TEST_F(FrameRules, ATickInvalidatesOnlyWhatChanged)
{
    // Showing the window invalidated all of it; the first tick measures what to paint.
    m_pFrame->OnTimer();
    m_pFrame->PaintInvalid();
    m_pFrame->TakeCalls();
    m_pFrame->OnTimer();
    EXPECT_EQ(m_pFrame->TakeCalls(), Strings{}) << "a screen that stays as it is";
    Deliver(*RoundPageMsg());
    m_pFrame->OnTimer();
    EXPECT_FALSE(m_pFrame->TakeCalls().empty()) << "a new page";
    m_pFrame->Hide();
    Deliver(*MakeMsg(MSGID_CLEAR));
    m_pFrame->OnTimer();
    EXPECT_EQ(m_pFrame->TakeCalls(), Strings{}) << "a hidden window is not measured";
}

TEST_F(FrameRules, AMessageAsksForARepaintThatTheWindowThreadMakes)
{
    m_pFrame->OnTimer();
    m_pFrame->PaintInvalid();
    const std::string infoScreen = DrawingRecordText(m_pFrame->Painted());
    Deliver(*RoundPageMsg());
    // Well within the timer's first tick: the request, not the timer, brought the repaint.
    m_pFrame->RunFor(std::chrono::milliseconds(50));
    EXPECT_NE(DrawingRecordText(m_pFrame->Painted()), infoScreen);
}

struct KeyCase {
    const char* name;
    bool bFullScreenBefore;
    FrameKey key;
    bool bHandled;
    bool bFullScreenAfter;
};

class Keys : public FakeFrameTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(Keys, SwitchFullScreenLikeTheMenuAndNeverClose)
{
    const KeyCase& c = GetParam();
    if (c.bFullScreenBefore) m_pFrame->OnMenuCommand(IDM_FULLSCREEN);
    EXPECT_EQ(m_pFrame->OnKeyDown(c.key), c.bHandled);
    EXPECT_EQ(m_pFrame->IsFullScreenMode(), c.bFullScreenAfter);
    EXPECT_EQ(m_pFrame->ContextMenuNow().front().bChecked, c.bFullScreenAfter);
    EXPECT_EQ(m_pFrame->IsKeepingScreenAwake(), c.bFullScreenAfter);
    EXPECT_FALSE(m_pFrame->IsClosed()) << "a key closed the window";
}

INSTANTIATE_TEST_SUITE_P(Table, Keys,
                         ::testing::Values(KeyCase{"F11On", false, FrameKey::F11, true, true},
                                           KeyCase{"F11Off", true, FrameKey::F11, true, false},
                                           KeyCase{"EscapeLeaves", true, FrameKey::Escape, true, false},
                                           KeyCase{"EscapeWindowed", false, FrameKey::Escape, false, false},
                                           KeyCase{"OtherFullScreen", true, FrameKey::Other, false, true},
                                           KeyCase{"OtherWindowed", false, FrameKey::Other, false, false}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

struct CommandCase {
    const char* name;
    bool bKeepAwake;
    std::vector<int> commands;
    Strings calls;  // what the window is asked to do, in order
};

class MenuCommands : public FakeFrameTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(MenuCommands, AskTheWindowForExactlyThis)
{
    m_pFrame->SetKeepScreenAwake(GetParam().bKeepAwake);
    m_pFrame->TakeCalls();
    for (int nCommand : GetParam().commands) m_pFrame->OnMenuCommand(nCommand);
    EXPECT_EQ(m_pFrame->TakeCalls(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MenuCommands,
    ::testing::Values(CommandCase{"FullScreenAndBack", true, {IDM_FULLSCREEN, IDM_FULLSCREEN},
                                  {"full screen", "awake", "restored", "may blank"}},
                      CommandCase{"BlankingAllowed", false, {IDM_FULLSCREEN, IDM_FULLSCREEN}, {"full screen", "restored"}},
                      CommandCase{"Exit", true, {IDM_EXIT}, {"close"}},
                      CommandCase{"DismissedMenu", true, {0}, {}},
                      CommandCase{"UnknownCommand", true, {2003}, {}}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST_F(FrameRules, TheMenuOffersFullScreenCheckedWhileOnThenExit)
{
    for (bool bFullScreen : {false, true}) {
        if (bFullScreen) m_pFrame->OnMenuCommand(IDM_FULLSCREEN);
        const std::vector<MenuItem> menu = m_pFrame->ContextMenuNow();
        ASSERT_EQ(menu.size(), 3u);
        EXPECT_EQ(menu[0].nCommand, IDM_FULLSCREEN);
        EXPECT_EQ(menu[0].bChecked, bFullScreen);
        EXPECT_EQ(menu[1].nCommand, 0) << "a separator";
        EXPECT_EQ(menu[2].nCommand, IDM_EXIT);
        EXPECT_FALSE(menu[0].text.empty() || menu[2].text.empty());
    }
}

TEST_F(FrameRules, StartingFullScreenShowsItAtOnce)
{
    m_pFrame->TakeCalls();
    m_pFrame->EnterFullScreen();
    EXPECT_EQ(m_pFrame->TakeCalls(), (Strings{"full screen", "awake", "update"}));
    EXPECT_TRUE(m_pFrame->IsFullScreenMode());
}

TEST_F(FrameRules, TheTickHidesTheIdleCursorOnlyInFullScreen)
{
    m_pFrame->PaintInvalid();
    m_pFrame->OnTimer();
    m_pFrame->AdvanceMs(10000);
    m_pFrame->OnTimer();
    EXPECT_TRUE(m_pFrame->IsShownCursor()) << "windowed, the cursor stays";

    m_pFrame->OnMenuCommand(IDM_FULLSCREEN);
    m_pFrame->AdvanceMs(2999);
    m_pFrame->OnTimer();
    EXPECT_TRUE(m_pFrame->IsShownCursor());
    m_pFrame->AdvanceMs(1);
    m_pFrame->OnTimer();
    EXPECT_FALSE(m_pFrame->IsShownCursor());
    EXPECT_TRUE(m_pFrame->IsCursorHidden());

    m_pFrame->OnMouseActivity();
    EXPECT_TRUE(m_pFrame->IsShownCursor()) << "a movement brings it back";
    m_pFrame->AdvanceMs(3000);
    m_pFrame->OnTimer();
    ASSERT_FALSE(m_pFrame->IsShownCursor());
    m_pFrame->OnKeyDown(FrameKey::Escape);
    EXPECT_TRUE(m_pFrame->IsShownCursor()) << "leaving full screen shows it";
}

}  // namespace
