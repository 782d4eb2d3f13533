#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/display_core.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "wire_frame.h"

// The scoring program's messages as the window tests send them, and what they leave in
// the display's page list; shared by the tests of the core and those of the Qt window.

inline std::unique_ptr<CommMsg_base> MakeMsg(int nMsgID)
{
    auto msg = std::make_unique<CommMsg_base>();
    msg->ResetMsg(nMsgID);
    return msg;
}

inline std::unique_ptr<CommMsg_base> RoundPageMsg()
{
    auto msg = MakeMsg(MSGID_ROUND_PAGE);
    SetIntField(*msg, MsgKey::kRemaining, 600);
    SetIntField(*msg, MsgKey::kPeriodLength, 1200);
    return msg;
}

// What the page list holds, read under its lock: 'R' per round page, 'N' per note.
inline std::string PageKindsOf(CDisplayCore& display)
{
    std::lock_guard lock(display.Pages().Mutex());
    std::string kinds;
    for (int i = 0; i < display.Pages().PageCount(); ++i) {
        kinds += display.Pages().Page(i).m_bRoundPage ? 'R' : 'N';
    }
    return kinds;
}
