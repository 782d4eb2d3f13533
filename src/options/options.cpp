#include "options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>

#include "net/net_block.h"
#include "os/file_path.h"
#include "os/user_dirs.h"

namespace {

bool ParseInt(std::string_view text, int minValue, int maxValue, int& value)
{
    int n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < minValue || n > maxValue) {
        return false;
    }
    value = n;
    return true;
}

// "1920x1080"; each side from 1 to 16384, so that the off-screen image always fits memory.
bool ParseSize(std::string_view text, int& width, int& height)
{
    const auto x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    return ParseInt(text.substr(0, x), 1, 16384, width)
        && ParseInt(text.substr(x + 1), 1, 16384, height);
}

// A switch is "true" when the command line names it; in the file it is spelled out.
bool ParseSwitch(std::string text, bool& value)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    if (text == "true" || text == "yes" || text == "on" || text == "1") {
        value = true;
        return true;
    }
    if (text == "false" || text == "no" || text == "off" || text == "0") {
        value = false;
        return true;
    }
    return false;
}


constexpr const char* kSwitchExpects = "true or false";

#if defined(_WIN32)
constexpr const char* kStateFolder = "%LOCALAPPDATA%\\Pavlune";
constexpr const char* kConfigFile = "%APPDATA%\\Pavlune\\pavlune.conf";
#else
constexpr const char* kStateFolder = "$XDG_STATE_HOME/pavlune (default ~/.local/state/pavlune)";
constexpr const char* kConfigFile = "$XDG_CONFIG_HOME/pavlune/pavlune.conf (default ~/.config/pavlune/pavlune.conf)";
#endif

// One option of the program: its spelling on the command line (--name) and in the
// configuration file (name=), its text in --help, and how its value is taken.
struct OptionSpec {
    std::string name;
    const char* valueName;  // nullptr for a switch
    std::string help;
    std::string defaultText;
    const char* expects;    // what a value that is refused should have been
    bool (*apply)(AppOptions& o, const std::string& value);
    bool bRepeatable = false;  // every value is applied, in order; otherwise the last one
    // How the configuration file's list of values is cut into values; a repeatable
    // option's list is separated by commas.
    std::vector<std::string> (*split)(const std::string& text) = nullptr;
};

std::vector<std::string> SplitAtCommas(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        const auto first = part.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        parts.push_back(part.substr(first, part.find_last_not_of(" \t") - first + 1));
    }
    return parts;
}

// Adding an option: one entry here and its field in AppOptions.
const std::vector<OptionSpec>& Options()
{
    static const std::vector<OptionSpec> options{
        {.name = "port", .valueName = "N",
         .help = "listen on TCP port N; 0 picks a free port, printed as \"listening on port N\"",
         .defaultText = std::to_string(kStandardPort), .expects = "a number from 0 to 65535",
         .apply = [](AppOptions& o, const std::string& v) { return ParseInt(v, 0, 65535, o.nPort); }},
        {.name = "listen", .valueName = "ADDRESS",
         .help = "listen on this address only; :: for every address of both IPv4 and IPv6",
         .defaultText = "every IPv4 address", .expects = "an IPv4 or IPv6 address",
         .apply = [](AppOptions& o, const std::string& v) {
             o.listenRules.address = ParseAddress(v);
             return o.listenRules.address.has_value();
         }},
        {.name = "allow", .valueName = "NET",
         .help = "take connections only from this address or CIDR block (IPv4 or IPv6), "
                 "closing others at once; may be given again for more",
         .defaultText = "everyone", .expects = "an address or a CIDR block such as 192.168.1.0/24",
         .apply = [](AppOptions& o, const std::string& v) {
             const std::optional<NetBlock> block = NetBlock::Parse(v);
             if (block) o.listenRules.allowed.push_back(*block);
             return block.has_value();
         },
         .bRepeatable = true, .split = SplitAtCommas},
        {.name = "fullscreen", .valueName = nullptr,
         .help = "start in full-screen mode: frameless, on top",
         .defaultText = "off", .expects = kSwitchExpects,
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bFullScreen); }},
        {.name = "size", .valueName = "WxH",
         .help = "start with a client area of W by H pixels, not maximised",
         .defaultText = "maximised", .expects = "WIDTHxHEIGHT, each from 1 to 16384",
         .apply = [](AppOptions& o, const std::string& v) { return ParseSize(v, o.nWidth, o.nHeight); }},
        {.name = "snapshot", .valueName = "FILE",
         .help = "keep FILE a PNG of what the window shows, at most once a second",
         .defaultText = "none", .expects = "a file name",
         .apply = [](AppOptions& o, const std::string& v) { o.strSnapshot = v; return !v.empty(); }},
        {.name = "verbose", .valueName = nullptr,
         .help = "echo each diagnostic log line to standard error",
         .defaultText = "off", .expects = kSwitchExpects,
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bVerbose); }},
        {.name = "screen", .valueName = "N|NAME",
         .help = "open the window, and full screen, on monitor N (counted from 0) or on the monitor named NAME",
         .defaultText = "the primary monitor", .expects = "a monitor's number or name",
         .apply = [](AppOptions& o, const std::string& v) { o.strScreen = v; return !v.empty(); }},
        {.name = "allow-blanking", .valueName = nullptr,
         .help = "let the screen saver and power saving blank the screen in full-screen mode as well",
         .defaultText = "off", .expects = kSwitchExpects,
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bAllowBlanking); }},
        {.name = "warn", .valueName = "SECONDS[:COLOUR]",
         .help = "draw the round clock in COLOUR while SECONDS or fewer remain; COLOUR is R,G,B, #RRGGBB or a "
                 "name, amber (#ffbf00) when left out; repeatable, the smallest stage that applies wins",
         .defaultText = "none", .expects = "SECONDS from 1 to 86400, then optionally :COLOUR",
         .apply = [](AppOptions& o, const std::string& v) {
             WarnStage stage;
             if (!ParseWarnStage(v, stage)) return false;
             o.timeSignals.stages.push_back(stage);
             return true;
         },
         .bRepeatable = true, .split = SplitWarnList},
        {.name = "blink-overtime", .valueName = nullptr,
         .help = "make the overtime clock alternate once a second between its colour and half intensity",
         .defaultText = "off", .expects = kSwitchExpects,
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.timeSignals.bBlinkOvertime); }},
        {.name = "sound", .valueName = "bell|FILE|off",
         .help = "ring as the round reaches each warning stage and its end: the built-in chime, a WAV file, "
                 "or nothing",
         .defaultText = "off", .expects = "bell, off or the name of a WAV file",
         .apply = [](AppOptions& o, const std::string& v) {
             o.timeSignals.strSound = v == "off" ? std::string() : v;
             return !v.empty();
         }},
        {.name = "no-restore", .valueName = nullptr,
         .help = std::string("start with the information screen instead of the pages saved in ") + kStateFolder +
                 "; they are left as they are",
         .defaultText = "off", .expects = kSwitchExpects,
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bNoRestore); }},
        {.name = "remote-view", .valueName = "on|off",
         .help = "answer the requests for a picture of the screen and for the display's status (see "
                 "pavlune-send screenshot and status); off ignores them as unknown messages",
         .defaultText = "on", .expects = "on or off",
         .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bRemoteView); }},
    };
    return options;
}

const OptionSpec* FindOption(std::string_view name)
{
    for (const OptionSpec& spec : Options()) {
        if (name == spec.name) return &spec;
    }
    return nullptr;
}

bool Contains(const std::vector<std::string>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// One argument of the command line as the user spelled it: "--port=5", "-platform".
struct Spelling {
    std::string typed;  // the option as typed, without a value glued on with '='
    std::string name;   // without its dashes
    std::optional<std::string> value;
};

std::optional<Spelling> SpellingOf(const std::string& arg)
{
    if (arg.size() < 2 || arg[0] != '-') return std::nullopt;
    const std::size_t eq = arg.find('=');
    Spelling spelling{arg.substr(0, eq), {}, std::nullopt};
    spelling.name = spelling.typed.substr(spelling.typed.find_first_not_of('-'));
    if (eq != std::string::npos) spelling.value = arg.substr(eq + 1);
    return spelling;
}

// CLI11 takes "--name=" for a name whose value is the next argument; an empty value
// crosses it as this character, which no value of ours may hold, and is given back.
constexpr const char* kEmptyValue = "\x1e";

// The command line in the one form CLI11 reads without guessing: every long option of
// ours and of the toolkit as --name or --name=value (also when typed with one dash, or
// with its value as the next argument, even one that starts with a dash), -h and -v as
// they are. Anything else is left for CLI11 to report. Values missing at the end, and
// values given to a switch, are the user's faults found here.
std::vector<std::string> Normalised(const std::vector<std::string>& args, const HandOnOptions& handOn,
                                    std::string& strError)
{
    std::vector<std::string> normal;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::optional<Spelling> s = SpellingOf(args[i]);
        const OptionSpec* spec = s ? FindOption(s->name) : nullptr;
        const bool bValue = (spec != nullptr && spec->valueName != nullptr) || (s && Contains(handOn.withValue, s->name));
        const bool bSwitch = (spec != nullptr && spec->valueName == nullptr) || (s && Contains(handOn.switches, s->name));
        if (bValue) {
            if (!s->value && i + 1 == args.size()) {
                strError = "missing value after '" + s->typed + "'";
                return {};
            }
            const std::string value = s->value ? *s->value : args[++i];
            normal.push_back("--" + s->name + "=" + (value.empty() ? kEmptyValue : value));
        } else if (bSwitch) {
            if (s->value) {
                strError = "unexpected value after '" + s->typed + "'";
                return {};
            }
            normal.push_back("--" + s->name);
        } else {
            normal.push_back(args[i]);
        }
    }
    return normal;
}

struct CommandLine {
    std::map<std::string, std::vector<std::string>> values;  // of our options and the toolkit's, by name
    bool bHelp = false;
    bool bVersion = false;
};

std::optional<CommandLine> ReadCommandLine(const std::vector<std::string>& args, const HandOnOptions& handOn,
                                           std::string& strError)
{
    std::vector<std::string> normal = Normalised(args, handOn, strError);
    if (!strError.empty()) return std::nullopt;

    CommandLine line;
    CLI::App app;
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", line.bHelp);
    app.add_flag("-v,--version", line.bVersion);
    std::map<std::string, std::int64_t> switches;
    const auto addValue = [&](const std::string& name) {
        app.add_option("--" + name, line.values[name])
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    };
    for (const OptionSpec& spec : Options()) {
        if (spec.valueName != nullptr) {
            addValue(spec.name);
        } else {
            app.add_flag("--" + spec.name, switches[spec.name]);
        }
    }
    for (const std::string& name : handOn.withValue) addValue(name);
    for (const std::string& name : handOn.switches) app.add_flag("--" + name, switches[name]);

    std::reverse(normal.begin(), normal.end());
    try {
        app.parse(normal);
    } catch (const CLI::ParseError& e) {
        strError = e.what();
        return std::nullopt;
    }
    if (const std::vector<std::string> rest = app.remaining(); !rest.empty()) {
        const std::optional<Spelling> s = SpellingOf(rest.front());
        strError = s ? "unknown option \"" + s->typed + "\"" : "unexpected argument \"" + rest.front() + "\"";
        return std::nullopt;
    }
    for (auto& [name, values] : line.values) {
        for (std::string& value : values) {
            if (value == kEmptyValue) value.clear();
        }
    }
    for (const auto& [name, count] : switches) {
        if (count > 0) line.values[name] = {"true"};
    }
    return line;
}

// The file's values by option, each a list as the option takes it: read with CLI11's INI
// reader, keys outside any section or in [General], lists cut by the option's own rule.
std::optional<std::map<std::string, std::vector<std::string>>> ReadConfigFile(const std::string& path,
                                                                               std::string& strError)
{
    std::map<std::string, std::vector<std::string>> values;
    std::ifstream file(PathFromUtf8(path));
    if (path.empty() || !file) return values;
    CLI::ConfigINI ini;
    // No array syntax: a value comes whole, and each option cuts its own list.
    ini.arrayBounds('\x01', '\x02');
    ini.arrayDelimiter('\x1f');
    std::vector<CLI::ConfigItem> items;
    try {
        items = ini.from_config(file);
    } catch (const CLI::Error&) {
        strError = "cannot read the configuration file " + path;
        return std::nullopt;
    }
    for (const CLI::ConfigItem& item : items) {
        if (item.name == "++" || item.name == "--") continue;  // the reader's marks of a section's bounds
        const bool bTopLevel = item.parents.empty() ||
                               (item.parents.size() == 1 && item.parents.front() == "General");
        const OptionSpec* spec = bTopLevel ? FindOption(item.name) : nullptr;
        if (spec == nullptr) {
            std::string key;
            for (const std::string& parent : item.parents) key += parent + "/";
            strError = "unknown option \"" + key + item.name + "\" (in " + path + ")";
            return std::nullopt;
        }
        std::string text;
        for (const std::string& input : item.inputs) text += (text.empty() ? "" : " ") + input;
        values[spec->name] = spec->split != nullptr ? spec->split(text) : std::vector<std::string>{text};
    }
    return values;
}

// Breaks text into lines of at most `width` characters: the first goes on after `line`,
// the others are indented by `indent` spaces.
std::string Wrap(std::string line, const std::string& text, std::size_t indent, std::size_t width)
{
    std::string out;
    bool bLineHasWord = false;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (bLineHasWord && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            line = std::string(indent, ' ');
            bLineHasWord = false;
        }
        if (bLineHasWord) line += ' ';
        line += word;
        bLineHasWord = true;
    }
    return out + line + "\n";
}

std::string OptionLine(const std::string& names, const std::string& help)
{
    constexpr std::size_t kColumn = 24;
    std::string first = "  " + names;
    first += first.size() + 2 <= kColumn ? std::string(kColumn - first.size(), ' ') : std::string("  ");
    return Wrap(first, help, kColumn, 79);
}

}  // namespace

std::vector<std::string> SplitWarnList(const std::string& text)
{
    const std::vector<std::string> parts = SplitAtCommas(text);
    std::vector<std::string> stages;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::string stage = parts[i];
        // "SECONDS:R" starts an R,G,B colour: its green and blue are the next two parts.
        const std::size_t colon = stage.find(':');
        const bool bChannels = colon != std::string::npos && colon + 1 < stage.size() &&
                               std::all_of(stage.begin() + static_cast<std::ptrdiff_t>(colon) + 1, stage.end(),
                                           [](unsigned char c) { return std::isdigit(c) != 0; });
        for (int channel = 0; bChannels && channel < 2 && i + 1 < parts.size(); ++channel) stage += "," + parts[++i];
        stages.push_back(std::move(stage));
    }
    return stages;
}

ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::string& configPath,
                           const HandOnOptions& handOn)
{
    ParsedOptions parsed;
    AppOptions& o = parsed.options;
    parsed.handedOn.push_back(args.empty() ? std::string("pavlune") : args[0]);

    const std::optional<CommandLine> line = ReadCommandLine(args, handOn, parsed.strError);
    if (!line) return parsed;
    o.bHelp = line->bHelp;
    o.bVersion = line->bVersion;
    if (o.bHelp || o.bVersion) return parsed;

    const auto file = ReadConfigFile(configPath, parsed.strError);
    if (!file) return parsed;
    for (const OptionSpec& spec : Options()) {
        const auto given = line->values.find(spec.name);
        const bool bOnCommandLine = given != line->values.end() && !given->second.empty();
        std::vector<std::string> values;
        if (bOnCommandLine) {
            values = given->second;
        } else if (const auto it = file->find(spec.name); it != file->end()) {
            values = it->second;
        }
        if (!spec.bRepeatable && values.size() > 1) values = {values.back()};
        for (const std::string& value : values) {
            if (!spec.apply(o, value)) {
                parsed.strError = "--" + spec.name + " takes " + spec.expects + ", not \"" + value + "\"" +
                                  (bOnCommandLine ? "" : " (in " + configPath + ")");
                return parsed;
            }
        }
    }

    for (const std::string& name : handOn.withValue) {
        for (const std::string& value : line->values.at(name)) {
            parsed.handedOn.push_back("-" + name);
            parsed.handedOn.push_back(value);
        }
    }
    for (const std::string& name : handOn.switches) {
        if (line->values.count(name) != 0) parsed.handedOn.push_back("-" + name);
    }
    return parsed;
}

std::string ConfigFilePath()
{
    const std::string dir = ConfigDirectory();
    return dir.empty() ? std::string() : dir + "/pavlune.conf";
}

std::string UsageText(const std::string& programName, const PlatformHelp& platform)
{
    std::string text = "Usage: " + programName + " [options]\n"
                       "Shows round clocks and notes for a bridge tournament room; the scoring program\n"
                       "drives it over TCP.\n"
                       "\n"
                       "Options:\n";
    text += OptionLine("-h, --help", "show this text and end.");
    text += OptionLine("-v, --version", "show the version and end.");
    for (const OptionSpec& spec : Options()) {
        const std::string names =
            "    --" + spec.name + (spec.valueName != nullptr ? std::string("=") + spec.valueName : "");
        text += OptionLine(names, spec.help + " (default: " + spec.defaultText + ").");
    }
    for (const auto& [names, help] : platform.options) text += OptionLine(names, help);
    text += "\n";
    text += Wrap("", std::string("Each long option but --help and --version may also stand in ") + kConfigFile +
                         " as name=value, a switch as name=true, a repeatable option as a list separated by "
                         "commas; the command line wins.",
                 0, 79);
    if (!platform.notes.empty()) text += Wrap("", platform.notes, 0, 79);
    return text;
}

std::string VersionText()
{
    return "pavlune " PAVLUNE_VERSION "\n";
}
