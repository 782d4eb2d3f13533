#pragma once
#include <json/value.h>

#include <string>

// The display's status reply as a few lines a director reads at a glance, joined by line
// feeds, none after the last:
//   Pavlune 7.26.36 on Linux, up 1 h 02 min
//   screen 1920x1080, full screen
//   showing round page "Round 5" / "Swiss teams", boards 1~8, 12:34 left, English
//   pages restored at start: no
//   listening on port 9977
//   messages: 301 x2, 303 x5; frames rejected 0; peers refused 0
// A member the reply lacks leaves its part out, or reads as 0. Texts from the display
// have their control characters turned into spaces, so that one cannot break the lines
// or move the terminal's cursor.
std::string StatusLines(const Json::Value& status);
