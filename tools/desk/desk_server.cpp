#include "desk_server.h"

#include <algorithm>

#include <httplib.h>
#include <json/reader.h>
#include <json/writer.h>

#include "common/display_socket.h"
#include "desk_conf.h"
#include "desk_page.h"
#include "desk_shell.h"
#include "desk_texts.h"
#include "desk_view.h"
#include "status_read.h"

namespace {

// The page's requests are small; the bound keeps a peer from holding the desk's memory.
constexpr std::size_t kMaxBody = 16 * 1024;
// Few browsers look at one desk; each request is answered at once from memory, except a
// full-size picture, which waits for its display.
constexpr int kServerThreads = 4;

std::string JsonText(const Json::Value& value)
{
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    writer["emitUTF8"] = true;
    return Json::writeString(writer, value);
}

void SendJson(httplib::Response& res, const Json::Value& value, int status = 200)
{
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(JsonText(value), "application/json; charset=utf-8");
}

void SendError(httplib::Response& res, int status, const std::string& why)
{
    Json::Value body;
    body["error"] = why;
    SendJson(res, body, status);
}

DeskLanguage LanguageOf(const httplib::Request& req)
{
    return PickLanguage(req.get_header_value("Accept-Language"));
}

// "127.0.0.1:9980", "localhost:9980", "[::1]:9980", with or without the port.
bool IsLoopbackHost(const std::string& host)
{
    const std::string name = host.starts_with("[") ? host.substr(0, host.find(']') + 1) : host.substr(0, host.rfind(':'));
    return name == "127.0.0.1" || name == "localhost" || name == "[::1]";
}

int IdOf(const httplib::Request& req)
{
    const std::string& digits = req.matches[1].str();
    return digits.size() > 9 ? 0 : std::stoi(digits);
}

}  // namespace

DeskServer::DeskServer(DeskWatcher& watcher, RoomStore store)
    : m_watcher(watcher), m_store(std::move(store)), m_server(std::make_unique<httplib::Server>())
{
    m_server->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    m_server->set_payload_max_length(kMaxBody);
    // One request a connection: cpp-httplib waits on an idle kept-alive connection by
    // polling it every ten milliseconds, and a page that asks every second keeps one idle
    // for good, which cost the desk more than watching twenty rooms. A new loopback
    // connection a second costs next to nothing.
    m_server->set_keep_alive_max_count(1);
    m_server->set_socket_options([](auto socket) { KeepPortAlone(static_cast<std::intptr_t>(socket)); });
    m_server->set_read_timeout(std::chrono::seconds(5));
    m_server->set_write_timeout(std::chrono::seconds(5));
    Route();
}

DeskServer::~DeskServer() = default;

bool DeskServer::Bind(const std::string& address, int port, std::string& why)
{
    m_bOpenToOthers = address.rfind("127.", 0) != 0 && address != "localhost";
    if (port == 0) {
        m_nPort = m_server->bind_to_any_port(address);
    } else if (m_server->bind_to_port(address, port)) {
        m_nPort = port;
    }
    if (m_nPort <= 0) {
        why = "cannot listen on " + address + ":" + std::to_string(port) +
              ": the address is not this computer's, or the port is in use (is a desk running already?)";
        return false;
    }
    return true;
}

bool DeskServer::DeskAnswersAt(const std::string& address, int port)
{
    httplib::Client client(address, port);
    client.set_connection_timeout(std::chrono::seconds(1));
    client.set_read_timeout(std::chrono::seconds(2));
    const auto res = client.Get("/api/rooms");
    return res && res->status == 200 && Member(ParsedJson(res->body), "rooms").isArray();
}

void DeskServer::Serve() { m_server->listen_after_bind(); }

void DeskServer::Stop() { m_server->stop(); }

void DeskServer::Route()
{
    // A web page elsewhere that the director has open could make the browser post to the
    // desk (its form needs no permission to be sent); a JSON body and a matching Origin
    // are what only the desk's own page sends.
    m_server->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        // Served on this computer alone, the desk answers only to its own names: a web page
        // whose name an attacker points at 127.0.0.1 would otherwise read the rooms.
        if (!m_bOpenToOthers && !IsLoopbackHost(req.get_header_value("Host"))) {
            SendError(res, 403, "the desk answers only at its own address");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.method == "GET" || req.method == "HEAD") return httplib::Server::HandlerResponse::Unhandled;
        const std::string origin = req.get_header_value("Origin");
        const std::string host = req.get_header_value("Host");
        const bool json = req.get_header_value("Content-Type").starts_with("application/json");
        if (!json || (!origin.empty() && origin != "http://" + host)) {
            SendError(res, 403, "changes are taken only from the desk's own page");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    m_server->Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_header("Content-Security-Policy",
                       "default-src 'self'; img-src 'self' blob:; style-src 'unsafe-inline'; script-src 'unsafe-inline'");
        res.set_content(DeskPageHtml(LanguageOf(req), m_store.confPath.empty()), "text/html; charset=utf-8");
    });

    m_server->Get("/api/rooms", [this](const httplib::Request& req, httplib::Response& res) {
        if (req.has_param("width")) {
            const std::string width = req.get_param_value("width");
            if (!width.empty() && width.size() < 6 && width.find_first_not_of("0123456789") == std::string::npos) {
                m_watcher.SetPictureWidth(std::stoi(width));
            }
        }
        SendJson(res, RoomsView(m_watcher.Watches(), LanguageOf(req), std::chrono::steady_clock::now(),
                                !m_store.confPath.empty()));
    });

    m_server->Get(R"(/api/rooms/(\d+)/picture\.png)", [this](const httplib::Request& req, httplib::Response& res) {
        const auto picture = m_watcher.LastPicture(IdOf(req));
        if (!picture) {
            SendError(res, 404, "no picture of that room");
            return;
        }
        res.set_header("Cache-Control", "max-age=3600");
        res.set_content(reinterpret_cast<const char*>(picture->png.data()), picture->png.size(), "image/png");
    });

    m_server->Get(R"(/api/rooms/(\d+)/screen\.png)", [this](const httplib::Request& req, httplib::Response& res) {
        std::string why;
        const auto picture = m_watcher.FullPicture(IdOf(req), why);
        if (!picture) {
            SendError(res, 502, why);
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(reinterpret_cast<const char*>(picture->png.data()), picture->png.size(), "image/png");
    });

    // Each change is written to desk.conf first and made to the watched rooms only once it
    // is kept, so that a failed write leaves nothing to undo.
    m_server->Post("/api/rooms", [this](const httplib::Request& req, httplib::Response& res) {
        const std::lock_guard lock(m_changing);
        std::vector<Room> rooms = m_watcher.Rooms();
        Room room;
        std::string why;
        if (rooms.size() >= kMaxRooms) {
            SendError(res, 400, "the desk watches at most " + std::to_string(kMaxRooms) + " rooms");
            return;
        }
        if (!RoomFromBody(req.body, 0, room, why)) {
            SendError(res, 400, why);
            return;
        }
        rooms.push_back(room);
        if (!Save(rooms, why)) {
            SendError(res, 500, why);
            return;
        }
        Json::Value body;
        body["id"] = m_watcher.Add(room);
        SendJson(res, body, 201);
    });

    m_server->Put(R"(/api/rooms/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        const std::lock_guard lock(m_changing);
        const int nId = IdOf(req);
        Room room;
        std::string why;
        if (!RoomFromBody(req.body, nId, room, why)) {
            SendError(res, 400, why);
            return;
        }
        const std::vector<RoomWatch> watches = m_watcher.Watches();
        std::vector<Room> rooms;
        for (const RoomWatch& watch : watches) rooms.push_back(watch.nId == nId ? room : watch.room);
        if (std::none_of(watches.begin(), watches.end(), [&](const RoomWatch& w) { return w.nId == nId; })) {
            SendError(res, 404, "there is no such room");
            return;
        }
        if (!Save(rooms, why)) {
            SendError(res, 500, why);
            return;
        }
        m_watcher.Change(nId, room);
        SendJson(res, Json::Value(Json::objectValue));
    });

    m_server->Delete(R"(/api/rooms/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        const std::lock_guard lock(m_changing);
        const int nId = IdOf(req);
        const std::vector<RoomWatch> watches = m_watcher.Watches();
        std::vector<Room> rooms;
        for (const RoomWatch& watch : watches) {
            if (watch.nId != nId) rooms.push_back(watch.room);
        }
        if (rooms.size() == watches.size()) {
            SendError(res, 404, "there is no such room");
            return;
        }
        std::string why;
        if (!Save(rooms, why)) {
            SendError(res, 500, why);
            return;
        }
        m_watcher.Remove(nId);
        SendJson(res, Json::Value(Json::objectValue));
    });
}

bool DeskServer::RoomFromBody(const std::string& body, int nExceptId, Room& room, std::string& why) const
{
    const Json::Value json = ParsedJson(body);
    if (!json.isObject()) {
        why = "the request is not a JSON object";
        return false;
    }
    const std::string name(Trimmed(TextOf(Member(json, "name"))));
    if (!CheckRoomName(name, why)) return false;
    const auto address = ParseAddress(TextOf(Member(json, "address")), why);
    if (!address) return false;
    if (!DisplaySocket::Resolves(address->host, why)) {
        why = "the host " + address->host + " cannot be found: " + why;
        return false;
    }
    for (const RoomWatch& watch : m_watcher.Watches()) {
        if (watch.nId != nExceptId && watch.room.name == name) {
            why = "there is a room of that name already";
            return false;
        }
    }
    room = {name, *address};
    return true;
}

bool DeskServer::Save(const std::vector<Room>& rooms, std::string& why)
{
    if (m_store.confPath.empty()) return true;
    return WriteDeskConf(m_store.confPath, rooms, why);
}
