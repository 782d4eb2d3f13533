// The desk as a browser meets it: served for real on a loopback port, asked over HTTP,
// watching stand-ins that are the display's own server answering as a test says.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <json/writer.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "desk_conf.h"
#include "desk_server.h"
#include "desk_watcher.h"
#include "status_read.h"
#include "msg/frame_buffer.h"
#include "os/local_ipv4.h"
#include "recording_display.h"
#include "wait_for.h"
// After the display's own server: cpp-httplib defines INVALID_SOCKET as a macro on POSIX.
#include <httplib.h>

namespace {

using namespace std::chrono_literals;
constexpr auto kDeadline = 5s;

// A PNG header of the size the display says, padded to an attachment's least length: the
// desk passes the picture on, never decodes it.
QByteArray PngOf(int width, int height)
{
    const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                    0, 0, static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width),
                                    0, 0, static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height)};
    return QByteArray(reinterpret_cast<const char*>(header), sizeof header) + QByteArray(kMinAttachment, '\0');
}

std::string PictureReply(int width, int height)
{
    return R"({"pub_MsgID":921,"71":)" + std::to_string(width) + R"(,"72":)" + std::to_string(height) + "}";
}

const char* const kRoundStatus =
    R"({"pub_MsgID":923,"version":"7.26.36","platform":"Linux","shown":"round page",)"
    R"("round":{"title":"Round 7","subtitle":"Swiss","boards":"1~8","remaining":400,"language":1},)"
    R"("screen":{"width":800,"height":450,"fullScreen":true},"restored":true,"messages":{"303":1}})";

// A loopback port with nothing listening on it: bound by the system's choice, then let go.
int DeadPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
    ::close(fd);
    return ntohs(addr.sin_port);
}


std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A peer on a loopback port that answers every connection with more bytes than any
// display's status, and then keeps it open.
class FloodingPeer {
public:
    FloodingPeer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        ::bind(m_listener, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
        ::listen(m_listener, 8);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &length);
        m_nPort = ntohs(addr.sin_port);
        m_thread = std::thread([this] {
            const std::string flood(4 * 1024 * 1024, '{');
            for (int peer; (peer = ::accept(m_listener, nullptr, nullptr)) >= 0;) {
                ::send(peer, flood.data(), flood.size(), MSG_NOSIGNAL);
                m_open.push_back(peer);
            }
        });
    }
    ~FloodingPeer()
    {
        ::shutdown(m_listener, SHUT_RDWR);
        ::close(m_listener);
        m_thread.join();
        for (const int peer : m_open) ::close(peer);
    }
    int Port() const { return m_nPort; }

private:
    int m_listener = -1;
    int m_nPort = 0;
    std::vector<int> m_open;
    std::thread m_thread;
};

class DeskServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("desk_server_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        m_confPath = (m_dir / "desk.conf").string();
    }
    void TearDown() override
    {
        if (m_server) m_server->Stop();
        if (m_serving.joinable()) m_serving.join();
        m_server.reset();
        m_watcher.reset();
        std::filesystem::remove_all(m_dir);
    }

    void Start(const std::vector<Room>& rooms, bool bSaved = true)
    {
        m_watcher = std::make_unique<DeskWatcher>(ExchangeAsker());
        for (const Room& room : rooms) m_watcher->Add(room);
        m_server = std::make_unique<DeskServer>(*m_watcher, RoomStore{bSaved ? m_confPath : std::string()});
        std::string why;
        ASSERT_TRUE(m_server->Bind("127.0.0.1", 0, why)) << why;
        m_serving = std::thread([this] { m_server->Serve(); });
        m_client = std::make_unique<httplib::Client>("127.0.0.1", m_server->Port());
        ASSERT_TRUE(WaitFor([&] { return static_cast<bool>(m_client->Get("/api/rooms")); }, kDeadline));
    }

    Json::Value View(const std::string& query = "")
    {
        const auto res = m_client->Get("/api/rooms" + query);
        return res ? ParsedJson(res->body) : Json::Value();
    }

    // The view once the room of that name satisfies the condition; the last view otherwise.
    Json::Value WaitForRoom(const std::string& name, const std::function<bool(const Json::Value&)>& condition)
    {
        Json::Value found;
        WaitFor([&] {
            const Json::Value view = View();
            for (const Json::Value& room : view["rooms"]) {
                if (room["name"].asString() == name) {
                    found = room;
                    return condition(room);
                }
            }
            return false;
        }, kDeadline);
        return found;
    }

    httplib::Result Post(const std::string& body, const httplib::Headers& headers = {})
    {
        return m_client->Post("/api/rooms", headers, body, "application/json");
    }

    std::filesystem::path m_dir;
    std::string m_confPath;
    std::unique_ptr<DeskWatcher> m_watcher;
    std::unique_ptr<DeskServer> m_server;
    std::thread m_serving;
    std::unique_ptr<httplib::Client> m_client;
};

TEST_F(DeskServerTest, ShowsEachRoomAsItsDisplayAnswers)
{
    RecordingDisplay live(800, 450);
    live.Answer(MSGID_STATUS, kRoundStatus);
    live.Answer(MSGID_SCREEN_PICTURE, PictureReply(400, 225), PngOf(400, 225));
    RecordingDisplay older(640, 480);  // answers the size request only, as before 921 and 923
    const int dead = DeadPort();
    // The page tells the width it shows the pictures at before the rooms are first asked.
    Start({});
    View("?width=400");
    for (const Room& room : {Room{"Main hall", {"127.0.0.1", live.Port()}}, Room{"Annex", {"127.0.0.1", older.Port()}},
                             Room{"Cellar", {"127.0.0.1", dead}}}) {
        m_watcher->Add(room);
    }

    const Json::Value room = WaitForRoom("Main hall", [](const Json::Value& r) { return r.isMember("picture"); });
    ASSERT_TRUE(room.isObject()) << View();
    EXPECT_EQ(room["state"], "answering");
    EXPECT_EQ(room["shownText"], "round page");
    EXPECT_EQ(room["round"]["title"], "Round 7");
    EXPECT_EQ(room["round"]["remaining"], 400);
    EXPECT_EQ(room["runsText"], "Pavlune 7.26.36 on Linux, restored after a restart");
    EXPECT_EQ(room["screenText"], "800x450, full screen");
    EXPECT_EQ(room["picture"]["width"], 400);
    const auto png = m_client->Get(room["picture"]["url"].asString());
    ASSERT_TRUE(png);
    EXPECT_EQ(png->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(png->body, PngOf(400, 225).toStdString());
    // A click asks the screen at its own size, now.
    const auto full = m_client->Get("/api/rooms/" + room["id"].asString() + "/screen.png");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->status, 200);
    EXPECT_EQ(full->body, PngOf(400, 225).toStdString());
    EXPECT_NE(live.Messages().back().json.find("921"), std::string::npos);
    EXPECT_EQ(live.Messages().back().json.find("\"73\""), std::string::npos) << live.Messages().back().json;
    // The picture was asked at the width the page shows.
    bool bWidthAsked = false;
    for (const RecordedMsg& msg : live.Messages()) {
        bWidthAsked |= msg.json.find("\"73\":400") != std::string::npos;
    }
    EXPECT_TRUE(bWidthAsked);

    EXPECT_EQ(WaitForRoom("Annex", [](const Json::Value& r) { return r["state"] == "older version"; })["stateText"],
              "answers, but cannot show its screen (older version)");
    const Json::Value cellar = WaitForRoom("Cellar", [](const Json::Value& r) { return r["state"] == "not answering"; });
    EXPECT_EQ(cellar["stateText"].asString().rfind("not answering since ", 0), 0u) << cellar;
    EXPECT_EQ(View()["summary"], "3 rooms: 1 on Round 7, 1 of an older version, 1 not answering");

    // Everything the desk sent was a question: never a clear, a page or a note.
    for (RecordingDisplay* display : {&live, &older}) {
        for (const RecordedMsg& msg : display->Messages()) {
            const int id = GetIntByName(ParsedJson(msg.json), kMsgIdKey);
            EXPECT_TRUE(id == MSGID_STATUS || id == MSGID_SCREEN_PICTURE || id == MSGID_SCREEN_SIZE) << msg.json;
        }
    }
}

TEST_F(DeskServerTest, APeerThatFloodsTheDeskIsCutOffAndShownAsNotAnswering)
{
    FloodingPeer flood;
    Start({{"Flood", {"127.0.0.1", flood.Port()}}});
    const Json::Value room = WaitForRoom("Flood", [](const Json::Value& r) { return r["state"] == "not answering"; });
    EXPECT_NE(room["reason"].asString().find("sent more than"), std::string::npos) << room;
}

TEST_F(DeskServerTest, NeverMoreThanFourRequestsOutHoweverManyRoomsHang)
{
    RecordingDisplay hanging(800, 450);
    hanging.KeepOpenWithoutAnswer();
    std::vector<Room> rooms;
    for (int i = 1; i <= 12; ++i) rooms.push_back({"Room " + std::to_string(i), {"127.0.0.1", hanging.Port()}});
    Start(rooms);
    ASSERT_TRUE(WaitFor([&] { return hanging.Messages().size() >= 4; }, kDeadline));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(hanging.Messages().size(), static_cast<std::size_t>(DeskWatcher::kMaxInFlight));
    // The page is answered all the while.
    EXPECT_EQ(View()["rooms"].size(), 12u);
}

TEST_F(DeskServerTest, RoomsChangedInThePageAreWrittenWholeAndBadOnesRefused)
{
    Start({});
    struct Refused {
        const char* body;
        const char* whyHas;
    };
    for (const Refused& refused : {Refused{R"({"name":"Far","address":"127.0.0.1:70000"})", "from 1 to 65535"},
                                   Refused{R"({"name":"","address":"127.0.0.1"})", "no name"},
                                   Refused{R"({"name":"Ghost","address":"no-such-host.invalid"})", "cannot be found"},
                                   Refused{R"({"name":"X","address":""})", "no host"},
                                   Refused{"not json", "not a JSON object"}}) {
        const auto res = Post(refused.body);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << refused.body;
        EXPECT_NE(ParsedJson(res->body)["error"].asString().find(refused.whyHas), std::string::npos) << res->body;
        EXPECT_FALSE(std::filesystem::exists(m_confPath)) << refused.body;
    }

    auto res = Post(R"({"name":"二号厅","address":"127.0.0.1:10001"})");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 201);
    const int id = ParsedJson(res->body)["id"].asInt();
    EXPECT_EQ(ReadDeskConf(m_confPath).rooms.size(), 1u);
    res = Post(R"({"name":"二号厅","address":"127.0.0.1:10002"})");
    EXPECT_EQ(res->status, 400);
    EXPECT_NE(res->body.find("already"), std::string::npos);

    res = m_client->Put("/api/rooms/" + std::to_string(id), R"({"name":"Hall 2","address":"127.0.0.1:10003"})",
                        "application/json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200) << res->body;
    const DeskConf conf = ReadDeskConf(m_confPath);
    ASSERT_EQ(conf.rooms.size(), 1u);
    EXPECT_EQ(conf.rooms[0].name, "Hall 2");
    EXPECT_EQ(conf.rooms[0].address.port, 10003);

    const std::string before = FileText(m_confPath);
    res = m_client->Put("/api/rooms/" + std::to_string(id), R"({"name":"Hall 2","address":"h:0"})", "application/json");
    EXPECT_EQ(res->status, 400);
    EXPECT_EQ(FileText(m_confPath), before);

    res = m_client->Delete("/api/rooms/" + std::to_string(id), {}, "{}", "application/json");
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(ReadDeskConf(m_confPath).rooms.empty());
    EXPECT_EQ(m_client->Delete("/api/rooms/" + std::to_string(id), {}, "{}", "application/json")->status, 404);
}

TEST_F(DeskServerTest, AChangeThatCannotBeWrittenIsNotMade)
{
    std::filesystem::create_directories(m_confPath);  // a folder where desk.conf belongs
    Start({});
    const auto res = Post(R"({"name":"Annex","address":"127.0.0.1"})");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 500);
    EXPECT_NE(ParsedJson(res->body)["error"].asString().find("cannot write"), std::string::npos) << res->body;
    EXPECT_TRUE(View()["rooms"].empty());
}

TEST_F(DeskServerTest, RoomsOfTheCommandLineChangeForThisRunOnly)
{
    Start({{"Main hall", {"127.0.0.1", DeadPort()}}}, false);
    EXPECT_EQ(Post(R"({"name":"Annex","address":"127.0.0.1:)" + std::to_string(DeadPort()) + "\"}")->status, 201);
    EXPECT_EQ(View()["rooms"].size(), 2u);
    EXPECT_FALSE(View()["roomsSaved"].asBool());
    EXPECT_FALSE(std::filesystem::exists(m_confPath));
}

TEST_F(DeskServerTest, TakesChangesOnlyFromItsOwnPageAndAnswersOnlyAtItsOwnName)
{
    Start({});
    struct Foreign {
        const char* what;
        httplib::Headers headers;
        const char* contentType;
    };
    for (const Foreign& foreign : {Foreign{"a form from elsewhere", {}, "text/plain"},
                                   Foreign{"another site's script", {{"Origin", "http://evil.example"}}, "application/json"},
                                   Foreign{"a rebound name", {{"Host", "evil.example"}}, "application/json"}}) {
        const auto res = m_client->Post("/api/rooms", foreign.headers, R"({"name":"A","address":"127.0.0.1"})",
                                        foreign.contentType);
        ASSERT_TRUE(res) << foreign.what;
        EXPECT_EQ(res->status, 403) << foreign.what;
    }
    EXPECT_EQ(m_client->Get("/api/rooms", {{"Host", "evil.example:9980"}})->status, 403);
    EXPECT_TRUE(View()["rooms"].empty());
    const std::string own = "http://127.0.0.1:" + std::to_string(m_server->Port());
    EXPECT_EQ(Post(R"({"name":"A","address":"127.0.0.1"})", {{"Origin", own}})->status, 201);
}

TEST_F(DeskServerTest, ServedOnTheLoopbackAddressAlone)
{
    Start({});
    EXPECT_TRUE(m_client->Get("/"));
    // Neither another loopback address nor any of this machine's own addresses reach it.
    std::vector<std::string> others = {"127.0.0.2"};
    std::istringstream list(GetLocalIPv4List());
    for (std::string address; std::getline(list >> std::ws, address, ';');) others.push_back(address);
    for (const std::string& address : others) {
        httplib::Client other(address, m_server->Port());
        other.set_connection_timeout(1s);
        EXPECT_FALSE(other.Get("/")) << address;
    }
}

TEST_F(DeskServerTest, ASecondDeskOnItsPortIsRefusedAndFindsTheFirst)
{
    Start({});
    DeskWatcher watcher(ExchangeAsker());
    DeskServer second(watcher, RoomStore{});
    std::string why;
    EXPECT_FALSE(second.Bind("127.0.0.1", m_server->Port(), why));
    EXPECT_NE(why.find("in use"), std::string::npos) << why;
    EXPECT_TRUE(DeskServer::DeskAnswersAt("127.0.0.1", m_server->Port()));
    EXPECT_FALSE(DeskServer::DeskAnswersAt("127.0.0.1", DeadPort()));
}

TEST_F(DeskServerTest, ThePageSpeaksTheBrowsersLanguage)
{
    Start({});
    const auto chinese = m_client->Get("/", {{"Accept-Language", "zh-CN,zh;q=0.9,en;q=0.8"}});
    ASSERT_TRUE(chinese);
    EXPECT_NE(chinese->body.find("<html lang=\"zh\">"), std::string::npos);
    EXPECT_NE(chinese->body.find("总控台"), std::string::npos);
    const auto english = m_client->Get("/", {{"Accept-Language", "en-GB"}});
    EXPECT_NE(english->body.find("<html lang=\"en\">"), std::string::npos);
    EXPECT_EQ(english->body.find("{{"), std::string::npos);
    EXPECT_EQ(ParsedJson(m_client->Get("/api/rooms", {{"Accept-Language", "zh"}})->body)["summary"], "还没有赛室：请在下面添加");
}

}  // namespace
