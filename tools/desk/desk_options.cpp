#include "desk_options.h"

#include <CLI/CLI.hpp>

std::optional<DeskOptions> ParseDeskOptions(const std::vector<std::string>& args, std::string& why)
{
    DeskOptions options;
    std::vector<std::string> rooms;
    CLI::App app;
    app.set_help_flag();
    app.add_flag("-h,--help", options.bHelp);
    app.add_flag("-v,--version", options.bVersion);
    app.add_option("--room", rooms)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--listen", options.listen)->allow_extra_args(false);
    app.add_option("--port", options.nPort)->allow_extra_args(false);
    bool bNoBrowser = false;
    app.add_flag("--no-browser", bNoBrowser);
    std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        why = e.what();
        return std::nullopt;
    }
    options.bBrowser = !bNoBrowser;
    options.bListenGiven = app.count("--listen") > 0;
    if (options.nPort < 0 || options.nPort > 65535) {
        why = "--port must be from 0 to 65535 (0: any free port)";
        return std::nullopt;
    }
    for (const std::string& text : rooms) {
        const auto equals = text.find('=');
        if (equals == std::string::npos) {
            why = "--room " + text + ": give NAME=HOST[:PORT]";
            return std::nullopt;
        }
        const std::string name(Trimmed(std::string_view(text).substr(0, equals)));
        std::string reason;
        if (!CheckRoomName(name, reason)) {
            why = "--room " + text + ": " + reason;
            return std::nullopt;
        }
        const auto address = ParseAddress(std::string_view(text).substr(equals + 1), reason);
        if (!address) {
            why = "--room " + text + ": " + reason;
            return std::nullopt;
        }
        for (const Room& room : options.rooms) {
            if (room.name == name) {
                why = "--room " + name + " is given twice";
                return std::nullopt;
            }
        }
        if (options.rooms.size() == kMaxRooms) {
            why = "at most " + std::to_string(kMaxRooms) + " rooms";
            return std::nullopt;
        }
        options.rooms.push_back({name, *address});
    }
    return options;
}

std::string DeskHelp()
{
    return "Usage: pavlune-desk [OPTION]...\n"
           "Shows every playing room's Pavlune display in one browser page: the picture of its\n"
           "screen, the round and the time left, and which display does not answer. The desk\n"
           "only asks the displays; it never changes what they show.\n"
           "\n"
           "  --room NAME=HOST[:PORT]  watch this room's display (port 9977 when not given);\n"
           "                           repeatable. Without it the rooms of desk.conf are\n"
           "                           watched, and rooms added in the page are kept there.\n"
           "  --port N                 serve the page on port N (default 9980; 0: any free port)\n"
           "  --listen ADDR            serve the page on this address instead of 127.0.0.1,\n"
           "                           so that other computers can open it (0.0.0.0: every\n"
           "                           address of this computer)\n"
           "  --no-browser             do not open the page in the browser\n"
           "  -h, --help               show this help and exit\n"
           "  -v, --version            show the version and exit\n";
}
