#pragma once
#include <string>

#include "desk_texts.h"

// The desk's one page, built into the program (it needs nothing from the internet), in the
// language asked for. bCommandLineRooms: the rooms came from --room, and changes made in
// the page are not kept.
std::string DeskPageHtml(DeskLanguage language, bool bCommandLineRooms);
