#include "send_args.h"

#include <charconv>
#include <climits>
#include <cstring>
#include <functional>
#include <utility>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"

const char* const kSendHelp =
    "Usage: pavlune-send [--host H] [--port P] COMMAND [OPTIONS]\n"
    "Sends one message to a Pavlune display (default 127.0.0.1, port 9977) and waits\n"
    "until the display closes the connection.\n"
    "\n"
    "Commands:\n"
    "  clear                   remove every page (message 301)\n"
    "  round [OPTIONS]         show a round page (message 303):\n"
    "      --title TEXT            first title line\n"
    "      --subtitle TEXT         second title line\n"
    "      --remaining SEC         seconds left in the timed period\n"
    "      --length SEC            length of the period in seconds\n"
    "      --boards TEXT           board labels\n"
    "      --caption TEXT          caption of the time bar\n"
    "      --bar-top               time bar at the top\n"
    "      --clock-x N             clock centre x, percent of the width (50)\n"
    "      --clock-y N             clock centre y, percent of the height (50)\n"
    "      --clock-height N        clock text height, percent (40)\n"
    "      --clock-box             box behind the clock\n"
    "      --title-colour R,G,B    colour of the title lines (255,255,255)\n"
    "      --clock-colour R,G,B    colour of the clock (255,255,255)\n"
    "      --overtime-colour R,G,B colour of the clock in overtime (255,64,64)\n"
    "      --lang N                language of the page's own texts\n"
    "      --picture FILE          background picture\n"
    "  note FILE [--replace]   add a note page showing the picture FILE (message 305);\n"
    "                          --replace removes the notes shown so far first\n"
    "  size                    ask for the screen size (message 309); prints WIDTHxHEIGHT\n"
    "  raw JSON [--attach FILE] send a JSON object as it is, with FILE as attachment;\n"
    "                          prints the JSON text of any reply\n"
    "\n"
    "Options:\n"
    "  --host H                the display's address or name (default 127.0.0.1)\n"
    "  --port P                the display's port (default 9977)\n"
    "  --help                  show this text\n"
    "\n"
    "Exit status: 0 on success, 2 on bad usage, 1 when the display cannot be reached,\n"
    "a file cannot be read or an expected reply is missing.\n";

namespace {

enum class Kind { Text, Int, Flag, Colour, Picture };

struct RoundOption {
    const char* name;
    Kind kind;
    int key;
};

constexpr RoundOption kRoundOptions[] = {
    {"--title", Kind::Text, MsgKey::kTitle},
    {"--subtitle", Kind::Text, MsgKey::kSubtitle},
    {"--remaining", Kind::Int, MsgKey::kRemaining},
    {"--length", Kind::Int, MsgKey::kPeriodLength},
    {"--boards", Kind::Text, MsgKey::kBoards},
    {"--caption", Kind::Text, MsgKey::kCaption},
    {"--bar-top", Kind::Flag, MsgKey::kBarTop},
    {"--clock-x", Kind::Int, MsgKey::kClockX},
    {"--clock-y", Kind::Int, MsgKey::kClockY},
    {"--clock-height", Kind::Int, MsgKey::kClockHeight},
    {"--clock-box", Kind::Flag, MsgKey::kClockBox},
    {"--title-colour", Kind::Colour, MsgKey::kTitleColour},
    {"--clock-colour", Kind::Colour, MsgKey::kClockColour},
    {"--overtime-colour", Kind::Colour, MsgKey::kOvertimeColour},
    {"--lang", Kind::Int, MsgKey::kLanguage},
    {"--picture", Kind::Picture, 0},
};

bool ParseInt(const std::string& text, long long low, long long high, int& out)
{
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end || v < low || v > high) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

// Three numbers from 0 to 255, as the display reads a colour.
bool ValidColour(const std::string& text)
{
    std::size_t start = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t comma = text.find(',', start);
        if ((part < 2) != (comma != std::string::npos)) {
            return false;
        }
        int v = 0;
        if (!ParseInt(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), 0, 255, v)) {
            return false;
        }
        start = comma + 1;
    }
    return true;
}

// The display reads a missing clock place as the top left corner and a missing colour as
// black; a person typing a round page by hand means a centred, readable clock.
constexpr std::pair<const char*, const char*> kRoundDefaults[] = {
    {"--clock-x", "50"},
    {"--clock-y", "50"},
    {"--clock-height", "40"},
    {"--title-colour", "255,255,255"},
    {"--clock-colour", "255,255,255"},
    {"--overtime-colour", "255,64,64"},
};

const RoundOption* FindRoundOption(const std::string& name)
{
    for (const RoundOption& o : kRoundOptions) {
        if (name == o.name) {
            return &o;
        }
    }
    return nullptr;
}

class Parser {
public:
    Parser(int argc, const char* const* argv, SendArgs& args, std::string& error)
        : m_argc(argc), m_argv(argv), m_args(args), m_error(error)
    {
    }

    bool Run()
    {
        std::vector<std::string> positional;
        // Options may come before or after the command, so commands are checked last.
        std::vector<std::pair<const RoundOption*, std::string>> roundOptions;
        bool replace = false;
        std::string attach;
        for (m_i = 1; m_i < m_argc; ++m_i) {
            const std::string arg = m_argv[m_i];
            if (arg == "--help" || arg == "-h") {
                m_args.help = true;
                return true;
            }
            if (arg == "--host") {
                if (!Value(arg, m_args.host)) {
                    return false;
                }
            } else if (arg == "--port") {
                std::string v;
                if (!Value(arg, v)) {
                    return false;
                }
                if (!ParseInt(v, 1, 65535, m_args.port)) {
                    return Fail("--port needs a number from 1 to 65535, not \"" + v + "\"");
                }
            } else if (arg == "--replace") {
                replace = true;
            } else if (arg == "--attach") {
                if (!Value(arg, attach)) {
                    return false;
                }
            } else if (const RoundOption* o = FindRoundOption(arg)) {
                std::string v;
                if (o->kind != Kind::Flag && !Value(arg, v)) {
                    return false;
                }
                roundOptions.emplace_back(o, v);
            } else if (arg.size() > 1 && arg[0] == '-') {
                return Fail("unknown option " + arg);
            } else {
                positional.push_back(arg);
            }
        }
        if (positional.empty()) {
            return Fail("no command given");
        }
        m_args.command = positional[0];
        const std::string& cmd = m_args.command;
        const bool isRound = cmd == "round";
        if (!roundOptions.empty() && !isRound) {
            return Fail(std::string(roundOptions[0].first->name) + " belongs to the round command");
        }
        if (replace && cmd != "note") {
            return Fail("--replace belongs to the note command");
        }
        if (!attach.empty() && cmd != "raw") {
            return Fail("--attach belongs to the raw command");
        }
        const std::size_t operands = (cmd == "note" || cmd == "raw") ? 1 : 0;
        if (positional.size() != operands + 1) {
            return Fail(positional.size() < operands + 1 ? cmd + " needs " + (cmd == "note" ? "a FILE" : "a JSON text")
                                                         : "unexpected argument \"" + positional[operands + 1] + "\"");
        }
        if (cmd == "clear") {
            m_args.msg.ResetMsg(MSGID_CLEAR);
        } else if (cmd == "size") {
            m_args.msg.ResetMsg(MSGID_SCREEN_SIZE);
        } else if (cmd == "note") {
            m_args.msg.ResetMsg(MSGID_NOTE_PAGE);
            SetIntField(m_args.msg, MsgKey::kReplaceNotes, replace ? 1 : 0);
            m_args.attachPath = positional[1];
        } else if (isRound) {
            m_args.msg.ResetMsg(MSGID_ROUND_PAGE);
            for (const auto& [name, v] : kRoundDefaults) {
                ApplyRoundOption(*FindRoundOption(name), v);
            }
            for (const auto& [o, v] : roundOptions) {
                if (!ApplyRoundOption(*o, v)) {
                    return false;
                }
            }
        } else if (cmd == "raw") {
            m_args.msg.FromJsonText(positional[1]);
            if (!m_args.msg.isObject()) {
                return Fail("raw needs a JSON object, such as {\"pub_MsgID\":309}");
            }
            m_args.attachPath = attach;
        } else {
            return Fail("unknown command \"" + cmd + "\"");
        }
        return true;
    }

private:
    bool Fail(const std::string& reason)
    {
        m_error = reason;
        return false;
    }

    bool Value(const std::string& option, std::string& out)
    {
        if (m_i + 1 >= m_argc) {
            return Fail(option + " needs a value");
        }
        out = m_argv[++m_i];
        return true;
    }

    bool ApplyRoundOption(const RoundOption& o, const std::string& v)
    {
        CommMsg_base& msg = m_args.msg;
        const std::string key = std::to_string(o.key);
        int n = 0;
        switch (o.kind) {
        case Kind::Text:
            msg[key] = v;
            return true;
        case Kind::Int:
            if (!ParseInt(v, INT_MIN, INT_MAX, n)) {
                return Fail(std::string(o.name) + " needs a whole number, not \"" + v + "\"");
            }
            SetIntField(msg, o.key, n);
            return true;
        case Kind::Flag:
            SetIntField(msg, o.key, 1);
            return true;
        case Kind::Colour:
            if (!ValidColour(v)) {
                return Fail(std::string(o.name) + " needs R,G,B with each from 0 to 255, not \"" + v + "\"");
            }
            msg[key] = v;
            return true;
        case Kind::Picture:
            m_args.attachPath = v;
            return true;
        }
        return false;
    }

    int m_argc;
    const char* const* m_argv;
    int m_i = 1;
    SendArgs& m_args;
    std::string& m_error;
};

}  // namespace

bool ParseSendArgs(int argc, const char* const* argv, SendArgs& args, std::string& error)
{
    return Parser(argc, argv, args, error).Run();
}
