#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "desk_watcher.h"

namespace httplib {
class Server;
}

// Where the rooms are kept: desk.conf, or nowhere when they came from the command line.
struct RoomStore {
    std::string confPath;  // empty: changes last until the desk stops
};

// The desk's web side: the page, the JSON view of the rooms and their pictures, and the
// changes to the rooms. It reads the displays only through the watcher, so it never sends
// a display anything but questions.
class DeskServer {
public:
    DeskServer(DeskWatcher& watcher, RoomStore store);
    ~DeskServer();
    DeskServer(const DeskServer&) = delete;
    DeskServer& operator=(const DeskServer&) = delete;

    // Binds the address and port (0: one the system picks); false with the reason.
    bool Bind(const std::string& address, int port, std::string& why);
    int Port() const { return m_nPort; }
    // Whether a desk already answers at the address and port (a second start of the desk).
    static bool DeskAnswersAt(const std::string& address, int port);
    // Serves until Stop, from any thread.
    void Serve();
    void Stop();

private:
    void Route();
    // A room from the page's JSON body, checked as desk.conf would need it and against the
    // other rooms; the reason in one line when it cannot be right.
    bool RoomFromBody(const std::string& body, int nExceptId, Room& room, std::string& why) const;
    // Writes the rooms whole, as they are to be; false with the reason.
    bool Save(const std::vector<Room>& rooms, std::string& why);

    DeskWatcher& m_watcher;
    RoomStore m_store;
    std::unique_ptr<httplib::Server> m_server;
    bool m_bOpenToOthers = false;  // served beyond this computer, under whatever name it has there
    int m_nPort = 0;
    // One change of the rooms at a time, so that two pages never save over each other.
    std::mutex m_changing;
};
