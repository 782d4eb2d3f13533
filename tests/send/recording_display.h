#pragma once
// The display's own server on a free loopback port with a processor that keeps every
// message whole, attachment included, so that a test can read exactly what the sender
// put on the wire. Like the display, it answers 309 with a screen size and closes each
// connection once its message is handled; any other identifier gets the reply a test
// gave it, or none, as from a display that does not know the message.
#include <QByteArray>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "net/proc_base.h"
#include "net/server.h"

struct RecordedMsg {
    std::string json;
    QByteArray attachment;
};

class RecordingDisplay : public CProcBase_tq {
public:
    RecordingDisplay(int width, int height) : m_nWidth(width), m_nHeight(height)
    {
        if (m_pServer->CreateField(0, this) == 1) {
            m_nPort = m_pServer->ListeningPort();
        }
    }
    // The server stops, joining its threads, before the records it writes go away.
    ~RecordingDisplay() override { m_pServer.reset(); }

    int Port() const { return m_nPort; }

    // From now on, a message with this identifier gets this reply, attachment and all.
    void Answer(int msgId, const std::string& json, const QByteArray& attachment = {})
    {
        std::lock_guard lock(m_mtx);
        m_answers[msgId] = {json, attachment};
    }
    // From now on, connections stay open with nothing sent, as on a display that hangs.
    void KeepOpenWithoutAnswer()
    {
        std::lock_guard lock(m_mtx);
        m_bKeepOpen = true;
    }

    void OnMessage(SOCKET s, CommMsg_base* msg) override
    {
        const int msgId = GetIntByName(*msg, kMsgIdKey);
        RecordedMsg answer;
        bool answered = false;
        {
            std::lock_guard lock(m_mtx);
            m_msgs.push_back({msg->ToJsonText(), QByteArray(reinterpret_cast<const char*>(msg->m_pAttach.get()),
                                                            msg->m_nAttachLen)});
            if (m_bKeepOpen) {
                return;
            }
            if (const auto found = m_answers.find(msgId); found != m_answers.end()) {
                answer = found->second;
                answered = true;
            }
        }
        if (answered) {
            CommMsg_base reply;
            reply.FromJsonText(answer.json);
            if (!answer.attachment.isEmpty()) {
                reply.SetAttachment(reinterpret_cast<const std::uint8_t*>(answer.attachment.constData()),
                                    static_cast<int>(answer.attachment.size()));
            }
            m_pServer->SendMsg({s}, reply);
        } else if (msgId == MSGID_SCREEN_SIZE) {
            CommMsg_base reply;
            reply.ResetMsg(MSGID_SCREEN_SIZE);
            SetIntField(reply, MsgKey::kScreenWidth, m_nWidth);
            SetIntField(reply, MsgKey::kScreenHeight, m_nHeight);
            m_pServer->SendMsg({s}, reply);
        }
        m_pServer->CloseConnection(s);
    }

    std::vector<RecordedMsg> Messages()
    {
        std::lock_guard lock(m_mtx);
        return m_msgs;
    }

private:
    const int m_nWidth;
    const int m_nHeight;
    std::mutex m_mtx;
    std::vector<RecordedMsg> m_msgs;
    std::map<int, RecordedMsg> m_answers;
    bool m_bKeepOpen = false;
    std::unique_ptr<CIOCPclass2016BC> m_pServer = std::make_unique<CIOCPclass2016BC>();
    int m_nPort = 0;
};
