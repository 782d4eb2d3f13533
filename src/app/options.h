#pragma once
#include <string>
#include <vector>

// What the command line asks of the program. With no options it behaves exactly as the
// display always has: port 9977, windowed and maximised, silent.
struct AppOptions {
    int nPort = 9977;
    bool bFullScreen = false;
    int nWidth = 0;   // --size: client size instead of maximised; 0 while not given
    int nHeight = 0;
    std::string strSnapshot;
    bool bVerbose = false;
    bool bHelp = false;
    bool bVersion = false;
};

struct ParsedOptions {
    AppOptions options;
    // Arguments that are not ours, in their order, for Qt to read (-platform NAME, ...).
    std::vector<std::string> qtArgs;
    // Empty when the command line was understood; otherwise what was wrong with it.
    std::string strError;
};

// args[0] is the program name and is passed on to Qt unchanged.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

std::string UsageText(const std::string& programName);
std::string VersionText();
