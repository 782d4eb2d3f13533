#include <chrono>
#include <mutex>

#include "frame/main_frame.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"

namespace {

// Lets a reply that has just been handed to the send path leave before the end; a timer
// of the connection, so the next message is not held up.
constexpr std::chrono::milliseconds kCloseDelay{50};

}  // namespace

void CMainFrame::OnMessage(SOCKET s, CommMsg_base* pMsg)
{
    const int nMsgID = GetIntByName(*pMsg, kMsgIdKey);
    // Held for the whole handling, wait and close included, so a page is built and the
    // list changed in one piece while no repaint reads it.
    std::lock_guard lock(m_pages.Mutex());
    switch (nMsgID) {
    case MSGID_CLEAR:
        m_pages.ClearPages();
        RequestRepaint();
        break;
    case MSGID_ROUND_PAGE:
        m_pages.OnRoundPageMessage(*pMsg);
        break;
    case MSGID_NOTE_PAGE:
        m_pages.OnNotePageMessage(*pMsg);
        break;
    case MSGID_SCREEN_SIZE:
        SendScreenSize(s);
        break;
    default:
        break;
    }
    // Every connection carries one message: whatever it was, it ends here.
    m_pServer->CloseConnection(s, kCloseDelay);
}

void CMainFrame::SendScreenSize(SOCKET s)
{
    const ScreenSize size = GetScreenSize();
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, size.cx);
    SetIntField(reply, MsgKey::kScreenHeight, size.cy);
    m_pServer->SendMsg({s}, reply);
}
