#pragma once
#include <optional>
#include <string>

#include "options/options.h"

// The command line's answers that end the program before any window is made, the same on
// every platform. programName is the name without its directory: --help feeds the manual
// page, which shows no build path.

// A command line that cannot be followed: one line saying why and a pointer to --help on
// standard error; the exit status 2.
int CommandLineError(const std::string& what, const std::string& programName);

// The exit status when the parsed command line ends the program here (its error, --help,
// --version), or nothing when the program goes on.
std::optional<int> AnswerCommandLine(const ParsedOptions& parsed, const std::string& programName,
                                     const PlatformHelp& help);
