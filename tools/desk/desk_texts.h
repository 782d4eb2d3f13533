#pragma once
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include <json/value.h>

#include "room_watch.h"

// Every text the desk's page shows, in English and Chinese, chosen per request from the
// browser's Accept-Language.
enum class DeskLanguage { English, Chinese };

// The language the browser prefers most among English and Chinese (by its q values, then
// its order); English when it names neither.
DeskLanguage PickLanguage(std::string_view acceptLanguage);
const char* LanguageTag(DeskLanguage language);

// The page's fixed texts by key, for the page's script and its HTML.
Json::Value PageTexts(DeskLanguage language);

// One card's lines.
std::string StateText(const RoomWatch& watch, DeskLanguage language);
std::string ShownText(const Json::Value& status, DeskLanguage language);
std::string ScreenText(const Json::Value& status, DeskLanguage language);
std::string RunsText(const Json::Value& status, DeskLanguage language);

// The line above the cards: "6 rooms: 5 on Round 3, 1 not answering".
std::string SummaryText(const std::vector<RoomWatch>& watches, DeskLanguage language);

// HH:MM:SS of the desk's local time.
std::string ClockOf(std::time_t t);
