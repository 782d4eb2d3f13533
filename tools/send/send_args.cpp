#include "send_args.h"

#include <algorithm>
#include <optional>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "send_command_line.h"
#include "send_json.h"
#include "send_values.h"
#include "shot_file_name.h"

namespace {

const SendCommand* FindCommand(const std::string& name)
{
    for (const SendCommand& c : kSendCommands) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

std::string Dashed(const SendOption& o) { return std::string("--") + o.name; }

// Names the option whose value argv[i] is, for a reason that points at it.
std::string WhatArgumentIs(const char* const* argv, int i)
{
    const std::string_view arg = argv[i];
    if (arg.starts_with("--") && arg.find('=') != std::string_view::npos) {
        return "the value of " + std::string(arg.substr(0, arg.find('=')));
    }
    const std::string_view before = i > 1 ? argv[i - 1] : "";
    if (before.starts_with("--") && before.find('=') == std::string_view::npos) {
        const SendOption* o = FindSendOption(before.substr(2));
        if (o != nullptr && o->valueName != nullptr) {
            return "the value of " + std::string(before);
        }
    }
    return "argument " + std::to_string(i);
}

class Parser {
public:
    Parser(SendArgs& args, std::string& error) : m_args(args), m_error(error) {}

    bool Run(int argc, const char* const* argv)
    {
        for (int i = 0; i < argc; ++i) {
            if (!IsValidUtf8(argv[i])) {
                return Fail(WhatArgumentIs(argv, i) + " is not valid UTF-8; pass texts in UTF-8");
            }
        }
        if (!m_parser.Parse(argc, argv)) {
            return Fail(m_parser.Error());
        }
        const std::vector<std::string>& positional = m_parser.Operands();
        const SendCommand* command = positional.empty() ? nullptr : FindCommand(positional.front());
        if (m_parser.IsSet("help")) {
            m_args.help = command != nullptr ? CommandHelp(*command) : GeneralHelp();
            return true;
        }
        if (positional.empty()) {
            return Fail("no command given");
        }
        if (command == nullptr) {
            return Fail("unknown command \"" + positional.front() + "\"");
        }
        m_args.command = command->name;
        return CheckOptions(*command) && CheckOperands(*command, positional) && ReadTargets() && Build(positional);
    }

private:
    bool Fail(const std::string& reason)
    {
        m_error = reason;
        return false;
    }

    bool CheckOptions(const SendCommand& command)
    {
        std::vector<const SendOption*> seen;
        for (const SendOption* o : m_parser.Given()) {
            if ((o->commands & command.bit) == 0) {
                return Fail(Dashed(*o) + " is not an option of " + command.name + ", only of " + CommandsOf(*o));
            }
            if (std::find(seen.begin(), seen.end(), o) != seen.end() && std::string_view(o->name) != "host") {
                return Fail(Dashed(*o) + " is given more than once");
            }
            seen.push_back(o);
        }
        return true;
    }

    bool CheckOperands(const SendCommand& command, const std::vector<std::string>& positional)
    {
        const std::size_t most = command.operand != nullptr ? 2 : 1;
        const std::size_t least = command.operand != nullptr && !command.operandOptional ? 2 : 1;
        if (positional.size() < least) {
            return Fail(std::string(command.name) + " needs " + command.operand);
        }
        if (positional.size() > most) {
            return Fail("unexpected argument \"" + positional[most] + "\"");
        }
        return true;
    }

    std::string Value(const char* name) const { return m_parser.Value(name); }

    std::optional<int> Number(const char* name, int low, int high)
    {
        const std::string v = Value(name);
        const auto n = ReadWholeNumber(v, low, high);
        if (!n) {
            Fail(std::string("--") + name + " takes a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high) + ", not \"" + v + "\"");
        }
        return n;
    }

    bool ReadTargets()
    {
        int port = kStandardPort;
        if (m_parser.IsSet("port")) {
            const auto p = Number("port", 1, 65535);
            if (!p) {
                return false;
            }
            port = *p;
        }
        std::vector<std::string> hosts = m_parser.Values("host");
        if (hosts.empty()) {
            hosts.emplace_back("127.0.0.1");
        }
        if (hosts.size() > static_cast<std::size_t>(kMaxTargets)) {
            return Fail("--host is given " + std::to_string(hosts.size()) + " times; at most " +
                        std::to_string(kMaxTargets) + " displays at once");
        }
        for (const std::string& h : hosts) {
            SendTarget t{h, port, {}};
            // HOST:PORT, so that displays on different ports can be reached at once.
            if (const auto colon = t.host.find(':'); colon != std::string::npos) {
                const auto p = ReadWholeNumber(std::string_view(t.host).substr(colon + 1), 1, 65535);
                if (!p) {
                    return Fail("--host takes a name or address with an optional :PORT (1 to 65535), not \"" +
                                t.host + "\"");
                }
                t.host.resize(colon);
                t.port = *p;
            }
            if (t.host.empty()) {
                return Fail("--host needs a name or address");
            }
            m_args.targets.push_back(t);
        }
        return true;
    }

    bool Build(const std::vector<std::string>& positional)
    {
        CommMsg_base& msg = m_args.msg;
        const std::string& cmd = m_args.command;
        if (cmd == "clear") {
            msg.ResetMsg(MSGID_CLEAR);
        } else if (cmd == "size") {
            msg.ResetMsg(MSGID_SCREEN_SIZE);
        } else if (cmd == "note") {
            msg.ResetMsg(MSGID_NOTE_PAGE);
            SetIntField(msg, MsgKey::kReplaceNotes, m_parser.IsSet("replace") ? 1 : 0);
            m_args.picturePath = positional[1];
            m_args.fit = m_parser.IsSet("fit");
            if (m_parser.IsSet("background")) {
                if (!m_args.fit) {
                    return Fail("--background colours the space --fit leaves around the picture; give --fit too");
                }
                const auto rgb = Colour("background");
                if (!rgb) {
                    return false;
                }
                m_args.background = TextToColor(*rgb);
            }
        } else if (cmd == "round") {
            return BuildRound();
        } else if (cmd == "screenshot") {
            return BuildScreenshot(positional);
        } else if (cmd == "status") {
            msg.ResetMsg(MSGID_STATUS);
            m_args.json = m_parser.IsSet("json");
        } else {
            auto json = ReadRawJson(positional[1], m_error);
            if (!json) {
                return false;
            }
            static_cast<Json::Value&>(msg) = std::move(*json);
            m_args.attachPath = Value("attach");
        }
        return true;
    }

    bool BuildScreenshot(const std::vector<std::string>& positional)
    {
        m_args.msg.ResetMsg(MSGID_SCREEN_PICTURE);
        if (m_parser.IsSet("width")) {
            const auto width = Number("width", 1, kMaxPictureWidth);
            if (!width) {
                return false;
            }
            SetIntField(m_args.msg, MsgKey::kLargestWidth, *width);
        }
        std::vector<SendTarget>& targets = m_args.targets;
        const std::string file = positional.size() > 1 ? positional[1] : std::string();
        if (file == "-" && targets.size() > 1) {
            return Fail("screenshot - writes one picture to standard output; name one --host, or give FILE");
        }
        // Two pictures of one display would go to one file, the second over the first.
        for (std::size_t i = 0; i < targets.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (targets[i].host == targets[j].host && targets[i].port == targets[j].port) {
                    return Fail("--host " + targets[i].Name() + " is given twice; one picture of it is enough");
                }
            }
        }
        const std::vector<std::string> files = ShotFileNames(file, targets);
        for (std::size_t i = 0; i < targets.size(); ++i) {
            targets[i].shotFile = files[i];
        }
        return true;
    }

    std::optional<std::string> Colour(const char* name)
    {
        std::string why;
        auto rgb = ReadColour(Value(name), why);
        if (!rgb) {
            Fail(std::string("--") + name + ": " + why);
        }
        return rgb;
    }

    bool BuildRound()
    {
        CommMsg_base& msg = m_args.msg;
        msg.ResetMsg(MSGID_ROUND_PAGE);
        if (!m_parser.IsSet("length")) {
            return Fail("round needs --length SECONDS, the length of the round");
        }
        const auto length = Number("length", 1, kMaxRoundSeconds);
        const auto remaining = m_parser.IsSet("remaining")
                                   ? Number("remaining", -kMaxRoundSeconds, kMaxRoundSeconds)
                                   : length;
        if (!length || !remaining) {
            return false;
        }
        SetIntField(msg, MsgKey::kPeriodLength, *length);
        SetIntField(msg, MsgKey::kRemaining, *remaining);
        for (const SendOption& o : kSendOptions) {
            if (o.kind != OptionKind::Other && !ApplyRoundOption(o)) {
                return false;
            }
        }
        if (m_parser.IsSet("boards")) {
            std::string why;
            const auto boards = ReadBoards(Value("boards"), why);
            if (!boards) {
                return Fail(why);
            }
            // The display gives each board length / boards - 2 seconds and needs at least one.
            if (boards->count > 0 && *length / boards->count < 3) {
                return Fail("--length " + std::to_string(*length) + " leaves less than 3 seconds for each of " +
                            std::to_string(boards->count) + " boards");
            }
            if (!boards->text.empty()) {
                msg[std::to_string(MsgKey::kBoards)] = boards->text;
            }
        }
        const auto lang = m_parser.IsSet("lang") ? Number("lang", 0, 1) : std::optional<int>(LocaleLanguage());
        if (!lang) {
            return false;
        }
        SetIntField(msg, MsgKey::kLanguage, *lang);
        m_args.picturePath = Value("picture");
        return true;
    }

    // A field whose handling the table says in full; false when it recorded an error.
    bool ApplyRoundOption(const SendOption& o)
    {
        CommMsg_base& msg = m_args.msg;
        const bool given = m_parser.IsSet(o.name);
        if (!given && o.fallback == nullptr) {
            return true;
        }
        switch (o.kind) {
        case OptionKind::Text:
            msg[std::to_string(o.key)] = Value(o.name);
            return true;
        case OptionKind::Flag:
            SetIntField(msg, o.key, 1);
            return true;
        case OptionKind::Number: {
            const auto n = given ? Number(o.name, o.low, o.high) : ReadWholeNumber(o.fallback, o.low, o.high);
            if (n) {
                SetIntField(msg, o.key, *n);
            }
            return n.has_value();
        }
        case OptionKind::Colour: {
            std::string why;
            const auto rgb = given ? Colour(o.name) : ReadColour(o.fallback, why);
            if (rgb) {
                msg[std::to_string(o.key)] = *rgb;
            }
            return rgb.has_value();
        }
        case OptionKind::Other:
            break;
        }
        return true;
    }

    SendCommandLine m_parser;
    SendArgs& m_args;
    std::string& m_error;
};

}  // namespace

bool ParseSendArgs(int argc, const char* const* argv, SendArgs& args, std::string& error)
{
    return Parser(args, error).Run(argc, argv);
}
