#include "command_line.h"

#include <iostream>

int CommandLineError(const std::string& what, const std::string& programName)
{
    std::cerr << "pavlune: " << what << "\n" << "Try '" << programName << " --help'." << std::endl;
    return 2;
}

std::optional<int> AnswerCommandLine(const ParsedOptions& parsed, const std::string& programName,
                                     const PlatformHelp& help)
{
    if (!parsed.strError.empty()) return CommandLineError(parsed.strError, programName);
    if (parsed.options.bHelp) {
        std::cout << UsageText(programName, help);
        return 0;
    }
    if (parsed.options.bVersion) {
        std::cout << VersionText();
        return 0;
    }
    return std::nullopt;
}
