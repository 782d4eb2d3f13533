#pragma once
#include <json/value.h>

#include <vector>

#include "desk_texts.h"
#include "room_watch.h"

// GET /api/rooms: every room as the page shows it, its texts in the language asked for.
// The time left is as of the status reply; "statusAge" (milliseconds) lets a reader count
// it down from there. docs/desk.md describes each member.
Json::Value RoomsView(const std::vector<RoomWatch>& watches, DeskLanguage language, SteadyTime now,
                      bool bRoomsSaved);
