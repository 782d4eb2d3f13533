#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "msg/comm_msg.h"

// One frame the display sent back: the message, and its JSON text exactly as it came.
struct Reply {
    std::unique_ptr<CommMsg_base> msg;
    std::string jsonText;
};

// Every acceptable frame in what the display sent back, in order.
std::vector<Reply> CutReplies(const std::vector<std::uint8_t>& received);

// The first reply with that identifier, or null.
const Reply* FindReply(const std::vector<Reply>& replies, int id);
