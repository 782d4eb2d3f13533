#pragma once
#include <string>
#include <vector>

#include "display/pages/time_signals.h"
#include "msg/standard_port.h"
#include "net/listen_rules.h"

// What the command line and the configuration file ask of the program. With neither it
// behaves exactly as the display always has: the standard port, windowed and maximised,
// silent. Values are parsed once, here.
struct AppOptions {
    int nPort = kStandardPort;
    ListenRules listenRules;  // --listen (none: every IPv4 address) and --allow (none: everyone)
    bool bFullScreen = false;
    int nWidth = 0;   // --size: client size instead of maximised; 0 while not given
    int nHeight = 0;
    std::string strSnapshot;
    bool bVerbose = false;
    std::string strScreen;  // --screen: a monitor's number or name; empty for the primary
    bool bAllowBlanking = false;
    TimeSignals timeSignals;   // --warn, --blink-overtime, --sound
    bool bNoRestore = false;  // start empty; the saved pages stay as they are until a change
    bool bRemoteView = true;  // answer the screen picture and status requests
    bool bHelp = false;
    bool bVersion = false;
};

// Options that belong to the platform's toolkit rather than to the program (Qt's
// -platform NAME, -display NAME, -reverse, ...): recognised, spelled with one dash or two,
// and handed on to the toolkit untouched.
struct HandOnOptions {
    std::vector<std::string> withValue;
    std::vector<std::string> switches;
};

struct ParsedOptions {
    AppOptions options;
    // The program name, then the toolkit's own options as given, for the toolkit to read.
    std::vector<std::string> handedOn;
    // Empty when the command line and the file were understood; otherwise one line that
    // says what was wrong.
    std::string strError;
};

// args[0] is the program name. Each long option may also stand in the INI file at
// configPath as name=value (a switch as true or false, a repeatable option as a list
// separated by commas); the command line wins, option by option. An empty path, or a
// file that is not there, reads nothing. Needs no display server, so that --help works
// without one.
ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::string& configPath,
                           const HandOnOptions& handOn = {});

// ConfigDirectory()/pavlune.conf; empty when the environment does not say where.
std::string ConfigFilePath();

// What the help says of the platform: the toolkit's own options ("-platform NAME" and
// its text) and a paragraph of notes.
struct PlatformHelp {
    std::vector<std::pair<std::string, std::string>> options;
    std::string notes;
};

// Every option with its default, one table for the help text and the man page.
std::string UsageText(const std::string& programName, const PlatformHelp& platform = {});
std::string VersionText();

// The --warn stages of the configuration file: "300, 60:#ff6000, 30:255,96,0". Commas
// separate the stages, except the two that an R,G,B colour holds.
std::vector<std::string> SplitWarnList(const std::string& text);
