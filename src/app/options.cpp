#include "options.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>

#include "net/net_block.h"

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

// One option of the program: its spelling on the command line (--name) and in the
// configuration file (name=), its text in --help, and how its value is taken.
struct OptionSpec {
    const char* name;
    const char* valueName;  // nullptr for a switch
    const char* help;
    const char* defaultText;
    const char* expects;    // what a value that is refused should have been
    bool (*apply)(AppOptions& o, const std::string& value);
    bool bRepeatable = false;  // every value is applied, in order; otherwise the last one
};

// Adding an option: one entry here and its field in AppOptions.
const OptionSpec kOptions[] = {
    {.name = "port", .valueName = "N",
     .help = "listen on TCP port N; 0 picks a free port, printed as \"listening on port N\"",
     .defaultText = "9977", .expects = "a number from 0 to 65535",
     .apply = [](AppOptions& o, const std::string& v) { return ParseInt(v, 0, 65535, o.nPort); }},
    {.name = "listen", .valueName = "ADDRESS",
     .help = "listen on this address only; :: for every address of both IPv4 and IPv6",
     .defaultText = "every IPv4 address", .expects = "an IPv4 or IPv6 address",
     .apply = [](AppOptions& o, const std::string& v) { o.strListen = v; return ParseAddress(v).has_value(); }},
    {.name = "allow", .valueName = "NET",
     .help = "take connections only from this address or CIDR block (IPv4 or IPv6), "
             "closing others at once; may be given again for more",
     .defaultText = "everyone", .expects = "an address or a CIDR block such as 192.168.1.0/24",
     .apply = [](AppOptions& o, const std::string& v) { o.allowed.push_back(v); return NetBlock::Parse(v).has_value(); },
     .bRepeatable = true},
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
     .help = "draw the round clock in COLOUR while SECONDS or fewer remain; COLOUR is #RRGGBB or a name, "
             "amber (#ffbf00) when left out; repeatable, the smallest stage that applies wins",
     .defaultText = "none", .expects = "SECONDS from 1 to 86400, then optionally :COLOUR",
     .apply = [](AppOptions& o, const std::string& v) {
         WarnStage stage;
         if (!ParseWarnStage(v, stage)) return false;
         o.timeSignals.stages.push_back(stage);
         return true;
     },
     .bRepeatable = true},
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
     .help = "start with the information screen instead of the pages saved in "
             "$XDG_STATE_HOME/pavlune (default ~/.local/state/pavlune); they are left as they are",
     .defaultText = "off", .expects = kSwitchExpects,
     .apply = [](AppOptions& o, const std::string& v) { return ParseSwitch(v, o.bNoRestore); }},
};

// Qt's own options, read here only to hand them on to Qt, so that nothing else is taken
// for one of them. They are spelled with one dash, as Qt documents them.
const char* const kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                       "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                       "geometry", "style", "stylesheet", "session", "name", "title"};
const char* const kQtSwitches[] = {"reverse"};

QString Q(const char* text) { return QString::fromUtf8(text); }

// The argument as the user typed it, without a value glued on with '='.
std::string SpelledAs(const std::vector<std::string>& args, const QString& name)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string bare = arg.substr(0, arg.find('='));
        if (bare.size() > 1 && bare[0] == '-' && bare.substr(bare.find_first_not_of('-')) == name.toStdString()) {
            return bare;
        }
    }
    return "--" + name.toStdString();
}

std::string ParserError(const QCommandLineParser& parser, const std::vector<std::string>& args)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        return "unknown option \"" + SpelledAs(args, parser.unknownOptionNames().constFirst()) + "\"";
    }
    // "Missing value after '--port'." and the like, as one line of ours.
    std::string text = parser.errorText().toStdString();
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

const OptionSpec* FindOption(const std::string& name)
{
    for (const OptionSpec& spec : kOptions) {
        if (name == spec.name) {
            return &spec;
        }
    }
    return nullptr;
}

struct ConfigFile {
    std::map<std::string, QStringList> values;
    std::string strError;
};

// An INI value with commas comes back from QSettings as a list: a repeatable option
// takes its parts, any other the text as written.
ConfigFile ReadConfigFile(const std::string& path)
{
    ConfigFile file;
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) {
        return file;
    }
    QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        file.strError = "cannot read the configuration file " + path;
        return file;
    }
    for (const QString& key : settings.allKeys()) {
        const OptionSpec* spec = FindOption(key.toStdString());
        if (spec == nullptr) {
            file.strError = "unknown option \"" + key.toStdString() + "\" (in " + path + ")";
            return file;
        }
        const QVariant value = settings.value(key);
        const QStringList parts = value.toStringList();
        file.values[spec->name] = spec->bRepeatable ? parts : QStringList{parts.join(QLatin1Char(','))};
    }
    return file;
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
        if (bLineHasWord) {
            line += ' ';
        }
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

ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::string& configPath)
{
    ParsedOptions parsed;
    AppOptions& o = parsed.options;
    if (!args.empty()) {
        parsed.qtArgs.push_back(args[0]);
    }

    QCommandLineParser parser;
    // Qt spells its own options as single-dash words (-platform); -h and -v are the
    // one-letter names of --help and --version.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{Q("h"), Q("help")}));
    parser.addOption(QCommandLineOption(QStringList{Q("v"), Q("version")}));
    for (const OptionSpec& spec : kOptions) {
        parser.addOption(spec.valueName != nullptr ? QCommandLineOption(Q(spec.name), QString(), Q(spec.valueName))
                                                   : QCommandLineOption(Q(spec.name)));
    }
    for (const char* name : kQtValueOptions) {
        parser.addOption(QCommandLineOption(Q(name), QString(), Q("value")));
    }
    for (const char* name : kQtSwitches) {
        parser.addOption(QCommandLineOption(Q(name)));
    }
    QStringList arguments;
    for (const std::string& arg : args) {
        arguments.append(QString::fromStdString(arg));
    }
    if (arguments.isEmpty()) {
        arguments.append(Q("pavlune"));
    }
    if (!parser.parse(arguments)) {
        parsed.strError = ParserError(parser, args);
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        parsed.strError = "unexpected argument \"" + parser.positionalArguments().constFirst().toStdString() + "\"";
        return parsed;
    }
    o.bHelp = parser.isSet(Q("help"));
    o.bVersion = parser.isSet(Q("version"));
    if (o.bHelp || o.bVersion) {
        return parsed;
    }

    const ConfigFile file = ReadConfigFile(configPath);
    if (!file.strError.empty()) {
        parsed.strError = file.strError;
        return parsed;
    }
    for (const OptionSpec& spec : kOptions) {
        const bool bOnCommandLine = parser.isSet(Q(spec.name));
        QStringList values;
        if (bOnCommandLine) {
            values = spec.valueName != nullptr ? parser.values(Q(spec.name)) : QStringList{Q("true")};
        } else if (const auto it = file.values.find(spec.name); it != file.values.end()) {
            values = it->second;
        }
        if (!spec.bRepeatable && values.size() > 1) {
            values = QStringList{values.constLast()};
        }
        for (const QString& value : values) {
            if (!spec.apply(o, value.toStdString())) {
                parsed.strError = std::string("--") + spec.name + " takes " + spec.expects + ", not \""
                                + value.toStdString() + "\"" + (bOnCommandLine ? "" : " (in " + configPath + ")");
                return parsed;
            }
        }
    }

    for (const char* name : kQtValueOptions) {
        for (const QString& value : parser.values(Q(name))) {
            parsed.qtArgs.push_back(std::string("-") + name);
            parsed.qtArgs.push_back(value.toStdString());
        }
    }
    for (const char* name : kQtSwitches) {
        if (parser.isSet(Q(name))) {
            parsed.qtArgs.push_back(std::string("-") + name);
        }
    }
    return parsed;
}

std::string ConfigFilePath()
{
    // A relative XDG_CONFIG_HOME is not to be used, by the base-directory rules.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/pavlune/pavlune.conf";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return std::string(home) + "/.config/pavlune/pavlune.conf";
    }
    return {};
}

std::string UsageText(const std::string& programName)
{
    std::string text = "Usage: " + programName + " [options]\n"
                       "Shows round clocks and notes for a bridge tournament room; the scoring program\n"
                       "drives it over TCP.\n"
                       "\n"
                       "Options:\n";
    text += OptionLine("-h, --help", "show this text and end.");
    text += OptionLine("-v, --version", "show the version and end.");
    for (const OptionSpec& spec : kOptions) {
        const std::string names = std::string("    --") + spec.name
                                + (spec.valueName != nullptr ? std::string("=") + spec.valueName : "");
        text += OptionLine(names, std::string(spec.help) + " (default: " + spec.defaultText + ").");
    }
    text += OptionLine("-platform NAME", "Qt's platform plugin: xcb, wayland, offscreen, linuxfb or eglfs "
                                         "(default: the one that WAYLAND_DISPLAY or DISPLAY names, else offscreen).");
    text += "\n";
    text += Wrap("", "Each long option but --help and --version may also stand in "
                     "$XDG_CONFIG_HOME/pavlune/pavlune.conf (default ~/.config/pavlune/pavlune.conf) "
                     "as name=value, a switch as name=true; the command line wins.", 0, 79);
    text += Wrap("", "A display server that DISPLAY, WAYLAND_DISPLAY or -platform names but that cannot be "
                     "reached ends the program with status 1; with none named at all it runs on the "
                     "offscreen platform. "
                     "A right click opens the menu: \"Full screen\" and \"Exit\".", 0, 79);
    return text;
}

std::string VersionText()
{
    return "pavlune " PAVLUNE_VERSION "\n";
}
