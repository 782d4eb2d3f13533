#pragma once
#include <string>
#include <vector>

#include "display/time_signals.h"

// What the command line and the configuration file ask of the program. With neither it
// behaves exactly as the display always has: port 9977, windowed and maximised, silent.
struct AppOptions {
    int nPort = 9977;
    std::string strListen;             // --listen: empty for every IPv4 address
    std::vector<std::string> allowed;  // --allow, each an address or CIDR block; empty: everyone
    bool bFullScreen = false;
    int nWidth = 0;   // --size: client size instead of maximised; 0 while not given
    int nHeight = 0;
    std::string strSnapshot;
    bool bVerbose = false;
    std::string strScreen;  // --screen: a monitor's number or name; empty for the primary
    bool bAllowBlanking = false;
    TimeSignals timeSignals;   // --warn, --blink-overtime, --sound
    bool bNoRestore = false;  // start empty; the saved pages stay as they are until a change
    bool bHelp = false;
    bool bVersion = false;
};

struct ParsedOptions {
    AppOptions options;
    // Qt's own options (-platform NAME, ...) for Qt to read, after the program name.
    std::vector<std::string> qtArgs;
    // Empty when the command line and the file were understood; otherwise one line that
    // says what was wrong.
    std::string strError;
};

// args[0] is the program name and is passed on to Qt unchanged. Each long option may
// also stand in the INI file at configPath as name=value (a switch as true or false);
// the command line wins. An empty path, or a file that is not there, reads nothing.
// Runs without an application object, so that --help works with no display server.
ParsedOptions ParseOptions(const std::vector<std::string>& args, const std::string& configPath = {});

// $XDG_CONFIG_HOME/pavlune/pavlune.conf, or ~/.config/pavlune/pavlune.conf; empty when
// neither variable says where.
std::string ConfigFilePath();

std::string UsageText(const std::string& programName);
std::string VersionText();
