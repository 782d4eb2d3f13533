// What the display says of itself when asked from outside: its status, and the window's
// picture handed over from the window thread.
#include <mutex>

#include "display/drawing/info_screen.h"
#include "display/saved/page_state_store.h"
#include "display/pages/round_time.h"
#include "core/display_core.h"
#include "core/display_status.h"
#include "msg/msg_ids.h"
#include "os/clock.h"
#include "os/platform_name.h"
#include "text/wide_text.h"

namespace {

bool IsKnownMessage(int nMsgID)
{
    switch (nMsgID) {
    case MSGID_CLEAR:
    case MSGID_ROUND_PAGE:
    case MSGID_NOTE_PAGE:
    case MSGID_SCREEN_SIZE:
    case MSGID_SCREEN_PICTURE:
    case MSGID_STATUS:
        return true;
    default:
        return false;
    }
}

}  // namespace

void CDisplayCore::CountMessage(int nMsgID)
{
    // Known identifiers only: a peer that sends every number there is cannot grow the map.
    if (IsKnownMessage(nMsgID)) ++m_messageCounts[nMsgID];
}

void CDisplayCore::SendStatus(SOCKET s)
{
    const DateTime now = Clock::Now();
    DisplayStatus status;
    status.version = kVersionText;
    status.platform = WideToUtf8(kPlatformName);
    status.nUptime = SecondsBetween(m_tStarted, now);
    const SIZE client = ClientSize();
    status.nWidth = client.cx;
    status.nHeight = client.cy;
    status.bFullScreen = m_bFullScreen.load();
    {
        std::lock_guard lock(m_pages.Mutex());
        if (const ScreenPage* pPage = m_pages.CurrentPage(now)) {
            if (pPage->m_bRoundPage) {
                status.round = DisplayStatus::Round{pPage->m_round.title, pPage->m_round.subtitle,
                                                    pPage->m_round.boards, SecondsUntil(pPage->m_tEnd, now),
                                                    pPage->m_round.language};
            } else {
                status.nNote = m_pages.CurrentIndex() + 1;
                status.nNotes = m_pages.PageCount();
            }
        }
    }
    status.bRestored = m_pPageState && m_pPageState->Restored();
    status.nPort = ListeningPort();
    status.messages = m_messageCounts;
    status.nFramesRejected = m_pServer->FramesRejected();
    status.nPeersRefused = m_pServer->PeersRefused();
    CommMsg_base reply;
    FillStatusReply(status, reply);
    m_pServer->SendMsg({s}, reply);
}

void CDisplayCore::RunOnWindowThread(std::function<void()> task)
{
    {
        std::lock_guard lock(m_mtxWindowTasks);
        m_windowTasks.push_back(std::move(task));
    }
    RequestRepaint();
}

void CDisplayCore::RunWindowTasks()
{
    std::vector<std::function<void()>> tasks;
    {
        std::lock_guard lock(m_mtxWindowTasks);
        tasks.swap(m_windowTasks);
    }
    for (const auto& task : tasks) task();
}
