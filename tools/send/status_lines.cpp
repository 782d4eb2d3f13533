#include "status_lines.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

const Json::Value& Member(const Json::Value& object, const char* name)
{
    static const Json::Value none;
    if (!object.isObject()) {
        return none;
    }
    const Json::Value* member = object.find(name, name + std::char_traits<char>::length(name));
    return member != nullptr ? *member : none;
}

long long Number(const Json::Value& object, const char* name)
{
    const Json::Value& v = Member(object, name);
    return v.isIntegral() && !v.isBool() ? v.asLargestInt() : 0;
}

std::string Text(const Json::Value& object, const char* name)
{
    const Json::Value& v = Member(object, name);
    std::string text = v.isString() ? v.asString() : std::string();
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

bool Yes(const Json::Value& object, const char* name)
{
    const Json::Value& v = Member(object, name);
    return v.isBool() && v.asBool();
}

std::string TwoDigits(long long n)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02lld", n);
    return buf;
}

// 42 s, 5 min, 1 h 02 min.
std::string Uptime(long long seconds)
{
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min";
    }
    return std::to_string(seconds / 3600) + " h " + TwoDigits(seconds / 60 % 60) + " min";
}

// 12:34, or 1:02:03 from an hour up, as the clock on the page reads.
std::string Clock(long long seconds)
{
    const std::string minutesAndSeconds = TwoDigits(seconds / 60 % 60) + ":" + TwoDigits(seconds % 60);
    return seconds >= 3600 ? std::to_string(seconds / 3600) + ":" + minutesAndSeconds : minutesAndSeconds;
}

std::string RoundLine(const Json::Value& round)
{
    std::string line = "showing round page";
    const std::string title = Text(round, "title");
    const std::string subtitle = Text(round, "subtitle");
    if (!title.empty() || !subtitle.empty()) {
        line += " \"" + title + "\"";
    }
    if (!subtitle.empty()) {
        line += " / \"" + subtitle + "\"";
    }
    if (const std::string boards = Text(round, "boards"); !boards.empty()) {
        line += ", boards " + boards;
    }
    const long long remaining = Number(round, "remaining");
    line += remaining < 0 ? ", overtime " + Clock(-remaining) : ", " + Clock(remaining) + " left";
    if (Member(round, "language").isIntegral()) {
        line += Number(round, "language") == 0 ? ", Chinese" : ", English";
    }
    return line;
}

std::string ShownLine(const Json::Value& status)
{
    const std::string shown = Text(status, "shown");
    if (shown == "round page") {
        return RoundLine(Member(status, "round"));
    }
    if (shown == "note") {
        const Json::Value& note = Member(status, "note");
        return "showing note " + std::to_string(Number(note, "number")) + " of " + std::to_string(Number(note, "count"));
    }
    if (shown == "information screen") {
        return "showing the information screen";
    }
    return "showing " + (shown.empty() ? std::string("nothing it names") : shown);
}

// By identifier in numeric order: 301 before 1001.
std::string MessageCounts(const Json::Value& messages)
{
    std::vector<std::pair<long long, std::string>> counts;
    if (messages.isObject()) {
        for (const std::string& id : messages.getMemberNames()) {
            counts.emplace_back(std::atoll(id.c_str()), id);
        }
    }
    std::sort(counts.begin(), counts.end());
    std::string text;
    for (const auto& [number, id] : counts) {
        std::string safeId = id;
        std::replace_if(safeId.begin(), safeId.end(), [](char c) { return c < '0' || c > '9'; }, '?');
        text += (text.empty() ? "" : ", ") + safeId + " x" + std::to_string(Number(messages, id.c_str()));
    }
    return text.empty() ? "none" : text;
}

}  // namespace

std::string StatusLines(const Json::Value& status)
{
    // The protocol lists "fullScreen" with the screen's size; a display that puts it beside
    // "screen" is read as well.
    const Json::Value& screen = Member(status, "screen");
    std::string lines = "Pavlune " + Text(status, "version") + " on " + Text(status, "platform") + ", up " +
                        Uptime(Number(status, "uptime")) + "\n";
    lines += "screen " + std::to_string(Number(screen, "width")) + "x" + std::to_string(Number(screen, "height")) +
             (Yes(screen, "fullScreen") || Yes(status, "fullScreen") ? ", full screen" : ", windowed") + "\n";
    lines += ShownLine(status) + "\n";
    lines += std::string("pages restored at start: ") + (Yes(status, "restored") ? "yes" : "no") + "\n";
    lines += "listening on port " + std::to_string(Number(status, "port")) + "\n";
    lines += "messages: " + MessageCounts(Member(status, "messages")) + "; frames rejected " +
             std::to_string(Number(status, "framesRejected")) + "; peers refused " +
             std::to_string(Number(status, "peersRefused"));
    return lines;
}
