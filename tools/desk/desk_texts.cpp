#include "desk_texts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "os/local_time.h"
#include "status_read.h"

namespace {

struct PageText {
    const char* key;
    const char* english;
    const char* chinese;
};

constexpr PageText kPageTexts[] = {
    {"title", "Pavlune desk", "Pavlune 总控台"},
    {"addRoom", "Add a room", "添加赛室"},
    {"name", "Name", "名称"},
    {"address", "Address (HOST or HOST:PORT)", "地址（主机 或 主机:端口）"},
    {"add", "Add", "添加"},
    {"rename", "Change", "修改"},
    {"remove", "Remove", "移除"},
    {"save", "Save", "保存"},
    {"cancel", "Cancel", "取消"},
    {"confirmRemove", "Remove this room from the desk?", "从总控台移除这个赛室？"},
    {"noPicture", "no picture yet", "暂无画面"},
    {"fullSize", "Click for the full-size picture", "点击查看原尺寸画面"},
    {"close", "Close", "关闭"},
    {"deskGone", "The desk does not answer: is pavlune-desk still running?", "总控台无响应：pavlune-desk 还在运行吗？"},
    {"commandLineRooms", "These rooms were given on the command line: changes last until the desk stops.",
     "这些赛室由命令行给出：修改只在总控台运行期间有效。"},
};

// "3 not answering", "3 个无应答".
std::string Count(int n, DeskLanguage language, const char* english, const char* chinese)
{
    return std::to_string(n) + " " + (language == DeskLanguage::Chinese ? chinese : english);
}

bool Is(DeskLanguage language) { return language == DeskLanguage::Chinese; }

}  // namespace

DeskLanguage PickLanguage(std::string_view acceptLanguage)
{
    // "zh-CN,zh;q=0.9,en;q=0.8": the first range of the highest weight that is one of ours.
    double best = 0.0;
    DeskLanguage chosen = DeskLanguage::English;
    while (!acceptLanguage.empty()) {
        const auto comma = acceptLanguage.find(',');
        std::string_view range = acceptLanguage.substr(0, comma);
        acceptLanguage = comma == std::string_view::npos ? std::string_view() : acceptLanguage.substr(comma + 1);
        double weight = 1.0;
        if (const auto semi = range.find(';'); semi != std::string_view::npos) {
            std::string_view param = range.substr(semi + 1);
            range = range.substr(0, semi);
            while (!param.empty() && param.front() == ' ') param.remove_prefix(1);
            if (param.starts_with("q=")) weight = std::strtod(std::string(param.substr(2)).c_str(), nullptr);
        }
        while (!range.empty() && range.front() == ' ') range.remove_prefix(1);
        while (!range.empty() && range.back() == ' ') range.remove_suffix(1);
        const auto primary = range.substr(0, range.find('-'));
        std::string lower(primary);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if ((lower == "zh" || lower == "en") && weight > best) {
            best = weight;
            chosen = lower == "zh" ? DeskLanguage::Chinese : DeskLanguage::English;
        }
    }
    return chosen;
}

const char* LanguageTag(DeskLanguage language) { return Is(language) ? "zh" : "en"; }

Json::Value PageTexts(DeskLanguage language)
{
    Json::Value texts(Json::objectValue);
    for (const PageText& text : kPageTexts) {
        texts[text.key] = Is(language) ? text.chinese : text.english;
    }
    return texts;
}

std::string ClockOf(std::time_t t)
{
    const std::tm local = LocalTime(t);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string StateText(const RoomWatch& watch, DeskLanguage language)
{
    switch (watch.state) {
    case RoomState::Waiting:
        return Is(language) ? "等待首次应答" : "waiting for a first answer";
    case RoomState::Older:
        return Is(language) ? "有应答，但无法显示画面（旧版本）" : "answers, but cannot show its screen (older version)";
    case RoomState::NotAnswering:
        return Is(language) ? "自 " + ClockOf(watch.since) + " 起无应答" : "not answering since " + ClockOf(watch.since);
    case RoomState::Answering:
        break;
    }
    return Is(language) ? "在线" : "live";
}

std::string ShownText(const Json::Value& status, DeskLanguage language)
{
    const std::string shown = TextOf(At(status, "shown"));
    if (shown == "round page") return Is(language) ? "轮次页" : "round page";
    if (shown == "note") {
        const std::string n = std::to_string(NumberOf(At(status, "note", "number")));
        const std::string m = std::to_string(NumberOf(At(status, "note", "count")));
        return Is(language) ? "通知 " + n + "/" + m : "note " + n + " of " + m;
    }
    return Is(language) ? "信息屏" : "information screen";
}

std::string ScreenText(const Json::Value& status, DeskLanguage language)
{
    const Json::Value& screen = At(status, "screen");
    const std::string size = std::to_string(NumberOf(At(screen, "width"))) + "x" + std::to_string(NumberOf(At(screen, "height")));
    if (FlagOf(At(screen, "fullScreen"))) return size + (Is(language) ? "，全屏" : ", full screen");
    return size + (Is(language) ? "，窗口" : ", windowed");
}

std::string RunsText(const Json::Value& status, DeskLanguage language)
{
    std::string text = "Pavlune " + TextOf(At(status, "version")) + (Is(language) ? "，" : " on ") +
                       TextOf(At(status, "platform"));
    if (FlagOf(At(status, "restored"))) text += Is(language) ? "，重启后已恢复" : ", restored after a restart";
    return text;
}

std::string SummaryText(const std::vector<RoomWatch>& watches, DeskLanguage language)
{
    const int total = static_cast<int>(watches.size());
    if (total == 0) return Is(language) ? "还没有赛室：请在下面添加" : "No rooms yet: add one below";
    // Rounds by title in the order they are first met, then the other kinds.
    std::vector<std::pair<std::string, int>> rounds;
    int information = 0, notes = 0, older = 0, dark = 0, waiting = 0;
    for (const RoomWatch& watch : watches) {
        if (watch.state == RoomState::NotAnswering) {
            ++dark;
        } else if (watch.state == RoomState::Older) {
            ++older;
        } else if (watch.state == RoomState::Waiting) {
            ++waiting;
        } else if (TextOf(At(watch.Status(), "shown")) == "round page") {
            const std::string title = TextOf(At(watch.Status(), "round", "title"));
            const auto it = std::find_if(rounds.begin(), rounds.end(), [&](const auto& r) { return r.first == title; });
            if (it == rounds.end()) {
                rounds.emplace_back(title, 1);
            } else {
                ++it->second;
            }
        } else if (TextOf(At(watch.Status(), "shown")) == "note") {
            ++notes;
        } else {
            ++information;
        }
    }
    std::vector<std::string> parts;
    for (const auto& [title, n] : rounds) {
        parts.push_back(Is(language) ? std::to_string(n) + " 个在 " + title : std::to_string(n) + " on " + title);
    }
    if (information > 0) parts.push_back(Count(information, language, "on the information screen", "个在信息屏"));
    if (notes > 0) parts.push_back(Count(notes, language, "showing notes", "个在显示通知"));
    if (older > 0) parts.push_back(Count(older, language, "of an older version", "个为旧版本"));
    if (waiting > 0) parts.push_back(Count(waiting, language, "waiting", "个等待应答"));
    if (dark > 0) parts.push_back(Count(dark, language, "not answering", "个无应答"));
    std::string text = Is(language) ? std::to_string(total) + " 个赛室："
                                     : std::to_string(total) + (total == 1 ? " room: " : " rooms: ");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += Is(language) ? "，" : ", ";
        text += parts[i];
    }
    return text;
}
