#pragma once
// A processor for the server tests that records what reaches it and can wait for it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "net/proc_base.h"

struct ReceivedMsg {
    SOCKET s;
    int id;
    std::string json;
    int attachLen;
};

class RecordingProc : public CProcBase_tq {
public:
    using Action = std::function<void(SOCKET, CommMsg_base&)>;

    // Runs inside OnMessage, on the processing thread, after the message is recorded.
    // Set under the lock: a test sets it while the server runs, and the bytes that then
    // lead to OnMessage pass through the kernel, which orders nothing for the sanitizer.
    void SetOnMessage(Action action)
    {
        std::lock_guard lock(m_mtx);
        m_onMessage = std::move(action);
    }

    void OnMessage(SOCKET s, CommMsg_base* msg) override
    {
        Action action;
        {
            std::lock_guard lock(m_mtx);
            m_msgs.push_back({s, GetIntByName(*msg, kMsgIdKey), msg->ToJsonText(), msg->m_nAttachLen});
            action = m_onMessage;
        }
        m_cv.notify_all();
        if (action) {
            action(s, *msg);
        }
    }

    void OnSocketClosed(SOCKET s) override
    {
        {
            std::lock_guard lock(m_mtx);
            m_closed.push_back(s);
        }
        m_cv.notify_all();
    }

    bool WaitForMessages(std::size_t n, std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        std::unique_lock lock(m_mtx);
        return m_cv.wait_for(lock, deadline, [&] { return m_msgs.size() >= n; });
    }
    bool WaitForClosed(std::size_t n, std::chrono::milliseconds deadline = std::chrono::seconds(10))
    {
        std::unique_lock lock(m_mtx);
        return m_cv.wait_for(lock, deadline, [&] { return m_closed.size() >= n; });
    }

    std::vector<ReceivedMsg> Messages()
    {
        std::lock_guard lock(m_mtx);
        return m_msgs;
    }
    std::vector<SOCKET> Closed()
    {
        std::lock_guard lock(m_mtx);
        return m_closed;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    Action m_onMessage;
    std::vector<ReceivedMsg> m_msgs;
    std::vector<SOCKET> m_closed;
};
