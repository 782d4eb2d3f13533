// pavlune-desk: every room's display in one browser page, for the tournament director.
#include <iostream>
#include <string>
#include <vector>

#include "common/tool_console.h"
#include "desk_conf.h"
#include "desk_options.h"
#include "desk_server.h"
#include "desk_shell.h"
#include "desk_watcher.h"

int main(int argc, char** argv)
{
    const ToolConsole console(argc, argv);
    const std::vector<std::string> args(console.Argv(), console.Argv() + console.Argc());
    std::string why;
    const auto options = ParseDeskOptions(args, why);
    if (!options) {
        std::cerr << "pavlune-desk: " << why << "\nTry 'pavlune-desk --help'." << std::endl;
        HoldConsoleToBeRead();
        return 2;
    }
    if (options->bHelp) {
        std::cout << DeskHelp();
        return 0;
    }
    if (options->bVersion) {
        std::cout << "pavlune-desk " PAVLUNE_VERSION << std::endl;
        return 0;
    }

    RoomStore store;
    std::vector<Room> rooms = options->rooms;
    if (rooms.empty()) {
        store.confPath = DeskConfPath();
        if (store.confPath.empty()) {
            std::cerr << "pavlune-desk: no configuration folder (HOME, XDG_CONFIG_HOME or APPDATA is not set): "
                         "rooms added in the page will not be kept"
                      << std::endl;
        } else {
            const DeskConf conf = ReadDeskConf(store.confPath);
            for (const std::string& problem : conf.problems) {
                std::cerr << "pavlune-desk: " << store.confPath << ": " << problem << std::endl;
            }
            rooms = conf.rooms;
        }
    }

    DeskServer* serving = nullptr;
    std::mutex stopping;
    bool bStopped = false;
    OnEndRequest([&] {
        const std::lock_guard lock(stopping);
        bStopped = true;
        if (serving != nullptr) serving->Stop();
    });

    DeskWatcher watcher(ExchangeAsker());
    for (const Room& room : rooms) watcher.Add(room);
    DeskServer server(watcher, store);
    const std::string shownHost = options->listen == "0.0.0.0" ? "127.0.0.1" : options->listen;
    if (!server.Bind(options->listen, options->nPort, why)) {
        // Started twice from the desktop: the first desk's page is what was wanted.
        const std::string running = "http://" + shownHost + ":" + std::to_string(options->nPort) + "/";
        if (options->nPort != 0 && DeskServer::DeskAnswersAt(shownHost, options->nPort)) {
            std::cout << "pavlune-desk: a desk is running already at " << running << std::endl;
            if (options->bBrowser) OpenBrowser(running);
            return 0;
        }
        std::cerr << "pavlune-desk: " << why << std::endl;
        HoldConsoleToBeRead();
        return 1;
    }
    const std::string url = "http://" + shownHost + ":" + std::to_string(server.Port()) + "/";
    std::cout << "pavlune-desk: serving " << url << std::endl;
    if (options->bListenGiven) {
        std::cout << "pavlune-desk: listening on " << options->listen
                  << ", not only on this computer: anyone who can reach it sees the rooms and can change them"
                  << std::endl;
    }
    if (options->bBrowser) OpenBrowser(url);
    {
        const std::lock_guard lock(stopping);
        if (bStopped) return 0;
        serving = &server;
    }
    server.Serve();
    {
        const std::lock_guard lock(stopping);
        serving = nullptr;
    }
    return 0;
}
