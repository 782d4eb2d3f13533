#pragma once
#include <string>
#include <vector>

#include "room.h"

// desk.conf: the rooms the desk watches, one "NAME = HOST[:PORT]" a line, as the director
// left them in the page. Lines starting with '#' or ';' and section headers are comments.
struct DeskConf {
    std::vector<Room> rooms;
    // A line that cannot be a room, with its number and why; the rest still count.
    std::vector<std::string> problems;
    bool bMissing = false;
};

// ConfigDirectory()/desk.conf; empty when the environment does not say where.
std::string DeskConfPath();

DeskConf ReadDeskConf(const std::string& path);
DeskConf ParseDeskConf(const std::string& text);

// The rooms as the whole file, written through the durable writer so that a crash leaves
// the old file or the new one; the folder is made when it is missing.
std::string DeskConfText(const std::vector<Room>& rooms);
bool WriteDeskConf(const std::string& path, const std::vector<Room>& rooms, std::string& error);
