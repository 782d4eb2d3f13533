#include "board_list.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <set>
#include <string_view>
#include <utility>

namespace {

// The leading decimal integer as atoi reads it, held at the int range instead of overflowing.
int LeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{INT_MAX} + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

class BoardSink {
public:
    BoardSink(std::vector<int>& boards, bool unique) : m_boards(boards), m_bUnique(unique) {}

    bool Full() const { return m_boards.size() >= kMaxBoards; }
    void Add(int n)
    {
        if (Full()) return;
        if (m_bUnique && !m_seen.insert(n).second) return;
        m_boards.push_back(n);
    }

private:
    std::vector<int>& m_boards;
    bool m_bUnique;
    std::set<int> m_seen;
};

void AddRange(BoardSink& sink, int a, int b)
{
    const int step = b >= a ? 1 : -1;
    // Stepping in 64 bits so that a range ending at either end of the int range stops.
    for (std::int64_t n = a; !sink.Full(); n += step) {
        sink.Add(static_cast<int>(n));
        if (n == b) break;
    }
}

}  // namespace

std::string NormaliseFullWidth(std::string text)
{
    static constexpr std::pair<std::string_view, char> kPairs[] = {
        {"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'}, {"５", '5'}, {"６", '6'},
        {"７", '7'}, {"８", '8'}, {"９", '9'}, {"，", ','}, {"。", '.'}, {"〈", '<'}, {"〉", '>'},
        {"～", '~'}, {"！", '!'}, {"＠", '@'}, {"＃", '#'}, {"＄", '$'}, {"＊", '*'}, {"（", '('},
        {"）", ')'}, {"［", '['}, {"］", ']'}, {"｛", '{'}, {"｝", '}'}, {"｜", '|'}, {"；", ';'},
        {"：", ':'}, {"\u201C", '"'}, {"\u2018", '\''}, {"＋", '+'}, {"＝", '='},
    };
    // Every character replaced is three bytes long and starts with a lead byte, which no
    // other character's middle can hold: one pass from the left finds each of them, as
    // replacing them one kind after another would, in time linear in the text.
    constexpr std::size_t kLength = 3;
    std::string out;
    out.reserve(text.size());
    const std::string_view view = text;
    for (std::size_t i = 0; i < view.size();) {
        const std::string_view here = view.substr(i, kLength);
        const auto* hit = static_cast<unsigned char>(view[i]) < 0x80
                              ? std::end(kPairs)
                              : std::find_if(std::begin(kPairs), std::end(kPairs),
                                             [&](const auto& pair) { return pair.first == here; });
        if (hit != std::end(kPairs)) {
            out += hit->second;
            i += kLength;
        } else {
            out += view[i++];
        }
    }
    return out;
}

std::vector<int> ParseBoardList(const std::string& text, bool unique)
{
    std::string normal = NormaliseFullWidth(text);
    std::replace(normal.begin(), normal.end(), ';', ',');

    std::vector<int> boards;
    BoardSink sink(boards, unique);
    std::string_view rest = normal;
    while (!rest.empty() && !sink.Full()) {
        const std::size_t comma = rest.find(',');
        const std::string_view token = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (token.empty()) continue;

        const std::size_t tilde = token.find('~');
        if (tilde == std::string_view::npos) {
            sink.Add(LeadingInt(token));
            continue;
        }
        const std::string_view after = token.substr(tilde + 1);
        AddRange(sink, LeadingInt(token.substr(0, tilde)), LeadingInt(after.substr(0, after.find('~'))));
    }
    return boards;
}
