#pragma once
#include <string>
#include <vector>

#include "msg/comm_msg.h"

// What the command line asks pavlune-send to do.
struct SendArgs {
    std::string host = "127.0.0.1";
    int port = 9977;
    std::string command;
    // The message to send, attachment aside.
    CommMsg_base msg;
    // File whose bytes become the attachment; empty for none.
    std::string attachPath;
    bool help = false;
};

// Fills args from argv; on bad usage returns false with a one-line reason.
bool ParseSendArgs(int argc, const char* const* argv, SendArgs& args, std::string& error);

extern const char* const kSendHelp;
