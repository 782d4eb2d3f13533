#pragma once
#include <optional>
#include <string>
#include <vector>

#include "room.h"

inline constexpr int kDeskPort = 9980;

struct DeskOptions {
    std::vector<Room> rooms;  // from --room; none: desk.conf's
    std::string listen = "127.0.0.1";
    bool bListenGiven = false;
    int nPort = kDeskPort;
    bool bBrowser = true;
    bool bHelp = false;
    bool bVersion = false;
};

// The command line (args[0] is the program); nullopt with a one-line reason. A --room's
// host is looked up when the room is first asked, not here: a display that is switched on
// later still counts.
std::optional<DeskOptions> ParseDeskOptions(const std::vector<std::string>& args, std::string& why);

std::string DeskHelp();
