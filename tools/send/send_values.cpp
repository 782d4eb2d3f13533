#include "send_values.h"

#include <charconv>
#include <cstdlib>
#include <utility>
#include <vector>

#include "msg/colour_text.h"
#include "os/lang_index.h"

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        int more = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= text.size()) {
            return false;
        }
        for (int k = 1; k <= more; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

std::optional<int> ReadWholeNumber(std::string_view text, int low, int high)
{
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end || v < low || v > high) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

namespace {

// Full-width forms an input method gives, and the ASCII the board reader expects.
constexpr std::pair<std::string_view, std::string_view> kFullWidth[] = {
    {"０", "0"}, {"１", "1"}, {"２", "2"}, {"３", "3"}, {"４", "4"}, {"５", "5"}, {"６", "6"},
    {"７", "7"}, {"８", "8"}, {"９", "9"}, {"，", ","}, {"、", ","}, {"；", ","}, {";", ","},
    {"～", "~"}, {"－", "-"}, {"—", "-"}, {"–", "-"},
};

std::string ToAscii(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const auto& [from, to] : kFullWidth) {
            if (text.substr(i, from.size()) == from) {
                out += to;
                i += from.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += text[i++];
        }
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::optional<int> ReadBoardNumber(std::string_view text) { return ReadWholeNumber(Trim(text), 1, kMaxBoardNumber); }

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

}  // namespace

std::optional<BoardList> ReadBoards(std::string_view text, std::string& error)
{
    const std::string ascii = ToAscii(text);
    BoardList boards;
    for (const std::string_view raw : Split(ascii, ',')) {
        const std::string_view item = Trim(raw);
        if (item.empty()) {
            continue;
        }
        const std::size_t dash = item.find_first_of("-~");
        const bool isRange = dash != std::string_view::npos;
        const auto first = ReadBoardNumber(item.substr(0, dash));
        const auto last = isRange ? ReadBoardNumber(item.substr(dash + 1)) : first;
        if (!first || !last) {
            error = "--boards takes board numbers from 1 to " + std::to_string(kMaxBoardNumber) +
                    " and ranges such as 9-12, separated by commas; \"" + std::string(item) + "\" is neither";
            return std::nullopt;
        }
        if (!boards.text.empty()) {
            boards.text += ",";
        }
        boards.text += std::to_string(*first);
        if (isRange) {
            boards.text += "~" + std::to_string(*last);
        }
        boards.count += std::abs(*last - *first) + 1;
    }
    if (boards.count == 0 && !Trim(ascii).empty()) {
        error = "--boards \"" + std::string(text) + "\" names no board";
        return std::nullopt;
    }
    return boards;
}

std::optional<std::string> ReadColour(std::string_view text, std::string& error)
{
    const auto fail = [&]() -> std::optional<std::string> {
        error = "\"" + std::string(text) + "\" is not a colour; give R,G,B (each 0 to 255), #RRGGBB or a name such as red";
        return std::nullopt;
    };
    COLORREF clr = 0;
    if (!ParseColourText(text, clr)) return fail();
    return std::to_string(GetRValue(clr)) + "," + std::to_string(GetGValue(clr)) + "," + std::to_string(GetBValue(clr));
}

int LocaleLanguage()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            const std::string_view locale(value);
            const bool chinese = locale.starts_with("zh") && (locale.size() == 2 || std::string_view("_.@-").find(locale[2]) != std::string_view::npos);
            return chinese ? 0 : 1;
        }
    }
    // No locale in the environment, as on Windows: the system's own language.
    return WindowLangIndex();
}
