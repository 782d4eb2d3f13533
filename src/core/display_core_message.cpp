#include <mutex>

#include "core/display_core.h"
#include "core/screen_picture_service.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "os/heap_policy.h"

void CDisplayCore::OnMessage(SOCKET s, CommMsg_base* pMsg)
{
    const int nMsgID = GetIntByName(*pMsg, kMsgIdKey);
    const bool bRemoteRequest = nMsgID == MSGID_SCREEN_PICTURE || nMsgID == MSGID_STATUS;
    if (!bRemoteRequest || m_bRemoteView) CountMessage(nMsgID);
    // A page is built, and its picture decoded, before the page list is touched; the
    // lock is held only to put the finished page in, so a repaint never waits for a
    // decode, nor for the wait before the close.
    switch (nMsgID) {
    case MSGID_CLEAR: {
        std::lock_guard lock(m_pages.Mutex());
        m_pages.ClearPages();
        RequestRepaint();
        break;
    }
    case MSGID_ROUND_PAGE: {
        std::unique_ptr<ScreenPage> page = ScreenPageList::MakeRoundPage(*pMsg, ClientSize());
        std::lock_guard lock(m_pages.Mutex());
        m_pages.PutRoundPage(std::move(page));
        break;
    }
    case MSGID_NOTE_PAGE: {
        std::unique_ptr<ScreenPage> page = ScreenPageList::MakeNotePage(*pMsg, ClientSize());
        const bool bReplace = ScreenPageList::ReplacesNotes(*pMsg);
        std::lock_guard lock(m_pages.Mutex());
        m_pages.PutNotePage(std::move(page), bReplace);
        break;
    }
    case MSGID_SCREEN_SIZE:
        SendScreenSize(s);
        break;
    case MSGID_STATUS:
        if (m_bRemoteView) SendStatus(s);
        break;
    case MSGID_SCREEN_PICTURE:
        if (m_bRemoteView) {
            // Answered, and its connection closed, by the picture service's thread; held
            // open until then, even when the peer has shut its side down, though never
            // past the service's own limits.
            m_pServer->CloseConnection(s, kPictureReplyLimit);
            m_pPictureService->Request(s, GetIntField(*pMsg, MsgKey::kLargestWidth));
            return;
        }
        break;
    default:
        break;
    }
    if (nMsgID == MSGID_CLEAR || nMsgID == MSGID_ROUND_PAGE || nMsgID == MSGID_NOTE_PAGE) {
        SavePages();
        // What decoding the new page's picture and dropping the old page left free.
        ReturnFreeHeap();
    }
    // Every connection carries one message: whatever it was, it ends here.
    m_pServer->CloseConnection(s, kCloseDelay);
}

void CDisplayCore::SendScreenSize(SOCKET s)
{
    const ScreenSize size = GetScreenSize();
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, size.cx);
    SetIntField(reply, MsgKey::kScreenHeight, size.cy);
    m_pServer->SendMsg({s}, reply);
}
