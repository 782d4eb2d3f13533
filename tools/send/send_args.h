#pragma once
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/standard_port.h"
#include "draw/colour.h"

// One display to send to.
struct SendTarget {
    std::string host;
    int port = kStandardPort;
    // screenshot: the file its picture goes to, "-" for standard output.
    std::string shotFile;
    std::string Name() const { return host + ":" + std::to_string(port); }
};

// What the command line asks pavlune-send to do. Owned by main; not copied, as its
// message is not.
struct SendArgs {
    // When not empty, the help text asked for; nothing is sent.
    std::string help;
    std::vector<SendTarget> targets;
    std::string command;
    // The message to send, its attachment aside.
    CommMsg_base msg;
    // The picture of a note or round page ("-" for standard input); empty for none.
    std::string picturePath;
    // The raw command's attachment, sent as it is; empty for none.
    std::string attachPath;
    // note --fit: ask each display its size and letterbox the picture onto it.
    bool fit = false;
    COLORREF background = RGB(0, 0, 0);
    // status --json: the reply's JSON as it came instead of readable lines.
    bool json = false;
};

// The most displays one command reaches; each gets a connection of its own at once.
inline constexpr int kMaxTargets = 64;

// Fills args from the command line. On bad usage returns false with a one-line reason.
// Every argument must be UTF-8, as every text on a page is.
bool ParseSendArgs(int argc, const char* const* argv, SendArgs& args, std::string& error);
