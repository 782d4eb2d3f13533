#include "send_options.h"

#include <iomanip>
#include <sstream>

namespace {

void ListOptions(std::ostringstream& out, unsigned commands, bool exactly)
{
    for (const SendOption& o : kSendOptions) {
        if (exactly ? o.commands != commands : (o.commands & commands) == 0) {
            continue;
        }
        std::string left = std::string("  --") + o.name;
        if (o.shortName != nullptr) {
            left = std::string("  -") + o.shortName + ", --" + o.name;
        }
        if (o.valueName != nullptr) {
            left += std::string(" ") + o.valueName;
        }
        out << std::left << std::setw(28) << left << (left.size() >= 28 ? "\n" + std::string(28, ' ') : "") << o.help
            << "\n";
    }
}

void Footer(std::ostringstream& out)
{
    out << "\nOptions of every command:\n";
    ListOptions(out, kCmdEvery, true);
    out << "\nOptions take GNU forms: --port 9978 or --port=9978.\n"
           "COLOUR is R,G,B (each 0 to 255), #RRGGBB or a name such as red or darkorange.\n"
           "Exit status: 0 on success, 2 on bad usage, 1 when a display cannot be reached, a file\n"
           "cannot be read or decoded, or an expected reply is missing.\n";
}

}  // namespace

std::string GeneralHelp()
{
    std::ostringstream out;
    out << "Usage: pavlune-send [--host HOST[:PORT]]... [--port PORT] COMMAND [OPTIONS]\n"
           "Sends one message to each Pavlune display named, and waits until each has handled it.\n"
           "\nCommands (pavlune-send COMMAND --help tells more):\n";
    for (const SendCommand& c : kSendCommands) {
        const std::string left = std::string("  ") + c.name + (c.operand != nullptr ? std::string(" ") + c.operand : "");
        out << std::left << std::setw(28) << left << c.summary << "\n";
    }
    Footer(out);
    return out.str();
}

std::string CommandHelp(const SendCommand& command)
{
    std::ostringstream out;
    out << "Usage: pavlune-send [--host HOST[:PORT]]... [--port PORT] " << command.name
        << (command.operand != nullptr ? std::string(" ") + command.operand : "") << " [OPTIONS]\n"
        << command.summary << "\n";
    if (command.details != nullptr) {
        out << "\n" << command.details;
    }
    bool any = false;
    for (const SendOption& o : kSendOptions) {
        any = any || o.commands == command.bit;
    }
    if (any) {
        out << "\nOptions of " << command.name << ":\n";
        ListOptions(out, command.bit, true);
    }
    Footer(out);
    return out.str();
}

std::string CommandsOf(const SendOption& option)
{
    std::string names;
    for (const SendCommand& c : kSendCommands) {
        if ((option.commands & c.bit) != 0) {
            names += (names.empty() ? "" : " and ") + std::string(c.name);
        }
    }
    return names;
}
