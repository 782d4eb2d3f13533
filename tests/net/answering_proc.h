#pragma once
// A processor that behaves as the display does towards peers: a size request gets its
// reply, and every connection is closed after its message, after the given delay.
#include <chrono>

#include "loopback_client.h"
#include "msg/msg_ids.h"
#include "net/server.h"
#include "recording_proc.h"

class AnsweringProc : public RecordingProc {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    explicit AnsweringProc(std::chrono::milliseconds closeDelay = std::chrono::milliseconds::zero())
        : m_closeDelay(closeDelay)
    {
    }

    // Before the server starts.
    CIOCPclass2016BC* m_pServer = nullptr;

    void OnMessage(SOCKET s, CommMsg_base* msg) override
    {
        RecordingProc::OnMessage(s, msg);
        if (GetIntByName(*msg, kMsgIdKey) == MSGID_SCREEN_SIZE) {
            CommMsg_base reply;
            Fill(reply);
            m_pServer->SendMsg({s}, reply);
        }
        m_pServer->CloseConnection(s, m_closeDelay);
    }

    // The exact bytes of the reply to a size request.
    static Bytes SizeReply()
    {
        CommMsg_base reply;
        Fill(reply);
        FrameBuffer f;
        f.FromMessage(reply);
        return Bytes(f.Bytes(), f.Bytes() + f.Length());
    }

private:
    static void Fill(CommMsg_base& reply)
    {
        reply.ResetMsg(MSGID_SCREEN_SIZE);
        SetIntField(reply, MsgKey::kScreenWidth, kWidth);
        SetIntField(reply, MsgKey::kScreenHeight, kHeight);
    }

    const std::chrono::milliseconds m_closeDelay;
};
