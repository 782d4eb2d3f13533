#include "display_core.h"

#include "os/clock.h"

void CDisplayCore::OnTimer()
{
    // The clock of a round page and the rotation of notes move on because each tick works
    // them out afresh; only the parts that changed go to the screen.
    RunWindowTasks();
    Refresh();
    // A screen that stays as it is gets no repaint that could take the picture.
    if (IsWindowShown() && KeepsPictureBetweenRepaints()) OfferSnapshot();
    FeedBell();
    if (m_cursorIdle.Tick(TickCountMs())) SetCursorShown(false);
}

void CDisplayCore::OnRepaintRequest()
{
    RunWindowTasks();
    Refresh();
}

void CDisplayCore::Refresh()
{
    if (!IsWindowShown()) return;
    for (const RECT& rc : m_refresh.Tick(ClientSize(), m_pages, CurrentScreenState(), Clock::Now())) {
        InvalidatePart(rc);
    }
}

void CDisplayCore::OnMenuCommand(int nCommand)
{
    if (nCommand == IDM_EXIT) {
        CloseWindow();
    } else if (nCommand == IDM_FULLSCREEN) {
        m_bFullScreen = !m_bFullScreen;
        if (m_bFullScreen) {
            ShowFullScreen();
        } else {
            ShowRestored();
        }
        FollowFullScreenMode();
    }
}

bool CDisplayCore::OnKeyDown(FrameKey key)
{
    const int nCommand = CommandForKey(key, m_bFullScreen);
    if (nCommand == 0) return false;
    OnMenuCommand(nCommand);
    return true;
}

void CDisplayCore::OnMouseActivity()
{
    if (m_cursorIdle.OnMouseActivity(TickCountMs())) SetCursorShown(true);
}

void CDisplayCore::EnterFullScreen()
{
    m_bFullScreen = true;
    ShowFullScreen();
    FollowFullScreenMode();
    UpdateNow();
}

void CDisplayCore::FollowFullScreenMode()
{
    const bool bWasHidden = m_cursorIdle.IsHidden();
    m_cursorIdle.SetActive(m_bFullScreen, TickCountMs());
    if (bWasHidden) SetCursorShown(true);
    const bool bKeepAwake = m_bFullScreen && m_bKeepScreenAwake;
    if (bKeepAwake != m_bKeepingAwake) {
        m_bKeepingAwake = bKeepAwake;
        HoldScreenAwake(bKeepAwake);
    }
}
