// Where the display listens, whom it lets send, and how it takes peers and readers that
// go away: the real program, with its own window, driven over plain sockets.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "display_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(const std::string& json)
{
    Bytes f(8 + json.size());
    const auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            f[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    put(0, static_cast<std::uint32_t>(f.size()));
    put(4, 0);
    std::memcpy(f.data() + 8, json.data(), json.size());
    return f;
}

// The display's exact answer to a size request with its 640 x 480 client area.
Bytes SizeReply()
{
    return Frame("{\"71\":" + std::to_string(DisplayTest::kWindowWidth) + ",\"72\":" +
                 std::to_string(DisplayTest::kWindowHeight) + ",\"pub_MsgID\":309}\n");
}

bool Fill(const std::string& address, int port, sockaddr_storage& out, socklen_t& len)
{
    out = {};
    auto* v4 = reinterpret_cast<sockaddr_in*>(&out);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&out);
    if (inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<std::uint16_t>(port));
        len = sizeof *v4;
        return true;
    }
    if (inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<std::uint16_t>(port));
        len = sizeof *v6;
        return true;
    }
    return false;
}

struct Exchange {
    bool bConnected = false;
    Bytes reply;
    bool bClosed = false;
};

// Connects to `address` (from `source`, when given), sends the bytes (then shuts its
// sending side down, if asked), and reads until the display closes the connection.
Exchange Talk(const std::string& address, int port, const Bytes& request, const std::string& source = {},
              bool bHalfClose = false)
{
    Exchange result;
    sockaddr_storage to{};
    socklen_t toLen = 0;
    if (!Fill(address, port, to, toLen)) {
        return result;
    }
    const int fd = socket(to.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage from{};
    socklen_t fromLen = 0;
    if (!source.empty() && (!Fill(source, 0, from, fromLen) || bind(fd, reinterpret_cast<sockaddr*>(&from), fromLen) != 0)) {
        close(fd);
        return result;
    }
    result.bConnected = connect(fd, reinterpret_cast<sockaddr*>(&to), toLen) == 0;
    if (result.bConnected) {
        send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        if (bHalfClose) {
            shutdown(fd, SHUT_WR);
        }
        const auto end = std::chrono::steady_clock::now() + kDeadline;
        std::uint8_t buf[4096];
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) {
                continue;
            }
            const ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n <= 0) {
                result.bClosed = true;
                break;
            }
            result.reply.insert(result.reply.end(), buf, buf + n);
        }
    }
    close(fd);
    return result;
}

Exchange AskSize(const std::string& address, int port, const std::string& source = {})
{
    return Talk(address, port, Frame("{\"pub_MsgID\":309}"), source);
}

// The frame pavlune-send makes of a command, caught on a listener of the test's own.
Bytes FrameOfSendCommand(const std::vector<std::string>& command, const std::string& scratchDir)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    Bytes frame;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        close(listener);
        return frame;
    }
    std::thread sender([&] { Send(ntohs(addr.sin_port), command, scratchDir); });
    const int conn = accept(listener, nullptr, nullptr);
    std::uint8_t buf[4096];
    while (frame.size() < 4 || frame.size() < static_cast<std::size_t>(frame[0] | frame[1] << 8 | frame[2] << 16 |
                                                                       frame[3] << 24)) {
        const ssize_t n = recv(conn, buf, sizeof buf, 0);
        if (n <= 0) {
            break;
        }
        frame.insert(frame.end(), buf, buf + n);
    }
    close(conn);
    sender.join();
    close(listener);
    return frame;
}

bool Ipv6LoopbackWorks()
{
    const int fd = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in6 addr{};
    addr.sin6_family = AF_INET6;
    addr.sin6_addr = in6addr_loopback;
    const bool ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return ok;
}

using ListenAllow = DisplayTest;

TEST_F(ListenAllow, OnlyAnAllowedSenderIsAnswered)
{
    auto display = StartDisplay({"--allow", "127.0.0.2", "--verbose"});
    ASSERT_NE(m_nPort, 0);
    const Exchange stranger = AskSize("127.0.0.1", m_nPort);
    ASSERT_TRUE(stranger.bConnected);
    EXPECT_TRUE(stranger.reply.empty());
    EXPECT_TRUE(stranger.bClosed);
    const Exchange trusted = AskSize("127.0.0.1", m_nPort, "127.0.0.2");
    ASSERT_TRUE(trusted.bConnected);
    EXPECT_EQ(trusted.reply, SizeReply());
    EXPECT_TRUE(trusted.bClosed);
    // One line for the refused peer, none for the one let in.
    const std::string err = display->Process().Stderr();
    const std::regex refused("远程地址:127\\.0\\.0\\.([0-9])");
    std::vector<std::string> refusedFrom;
    for (auto it = std::sregex_iterator(err.begin(), err.end(), refused); it != std::sregex_iterator(); ++it) {
        refusedFrom.push_back((*it)[1].str());
    }
    EXPECT_EQ(refusedFrom, std::vector<std::string>{"1"}) << err;
}

// A script that sends its frame and shuts its side down at once is still heard: its size
// request answered, its round page shown.
TEST_F(ListenAllow, HalfClosingSenderIsHeard)
{
    auto display = StartDisplay();
    ASSERT_NE(m_nPort, 0);
    const Exchange size = Talk("127.0.0.1", m_nPort, Frame("{\"pub_MsgID\":309}"), {}, true);
    EXPECT_EQ(size.reply, SizeReply());
    EXPECT_TRUE(size.bClosed);

    const QRgb clockGreen = qRgb(0, 255, 0);
    const Bytes round = FrameOfSendCommand({"round", "--title", "Round 3", "--remaining", "600", "--length", "1200",
                                            "--clock-colour", "0,255,0"},
                                           m_scratch.Path());
    ASSERT_GT(round.size(), 8u);
    const Exchange page = Talk("127.0.0.1", m_nPort, round, {}, true);
    EXPECT_TRUE(page.bClosed);
    EXPECT_TRUE(WaitForScreen([&](const QImage& shot) {
        return CountColour(shot, QRect(0, 0, kWindowWidth, kWindowHeight), clockGreen) > 500;
    })) << "the half-closed round page is not shown";
}

struct ListenCase {
    const char* name;
    const char* listen;
    std::vector<std::string> reachable;
    std::vector<std::string> unreachable;
};

class ListenOn : public DisplayTest, public ::testing::WithParamInterface<ListenCase> {};

TEST_P(ListenOn, ListensThereOnly)
{
    if (std::string(GetParam().listen).find(':') != std::string::npos && !Ipv6LoopbackWorks()) {
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    }
    auto display = StartDisplay({"--listen", GetParam().listen});
    ASSERT_NE(m_nPort, 0);
    for (const std::string& address : GetParam().reachable) {
        const Exchange e = AskSize(address, m_nPort);
        EXPECT_TRUE(e.bConnected) << address;
        EXPECT_EQ(e.reply, SizeReply()) << address;
    }
    for (const std::string& address : GetParam().unreachable) {
        EXPECT_FALSE(AskSize(address, m_nPort).bConnected) << address;
    }
}

INSTANTIATE_TEST_SUITE_P(Addresses, ListenOn,
                         ::testing::Values(ListenCase{"Ipv4Loopback", "127.0.0.1", {"127.0.0.1"}, {"127.0.0.2", "::1"}},
                                           ListenCase{"Ipv6Loopback", "::1", {"::1"}, {"127.0.0.1"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// `pavlune --verbose 2>&1 | head -1`: the reader of the log goes away after one line, and
// every later line meets a closed pipe. The display goes on answering.
TEST_F(ListenAllow, LogReaderThatGoesAwayDoesNotEndTheDisplay)
{
    const std::string first = m_scratch.Path() + "/first-line";
    const std::string command = "{ '" + PavluneProgram() + "' --port 0 --size 640x480 --verbose 2>&1 1>&3 3>&- | head -1 > '" +
                                first + "'; } 3>&1";
    ChildProcess shell({"/bin/sh", "-c", command}, DisplayEnv(), m_scratch.Path() + "/out", m_scratch.Path() + "/err");
    ASSERT_TRUE(shell.Started());
    static const std::regex listening("listening on port ([0-9]+)");
    int port = 0;
    ASSERT_TRUE(WaitFor([&] {
        std::smatch m;
        const std::string out = shell.Stdout();
        if (std::regex_search(out, m, listening)) {
            port = std::stoi(m[1].str());
        }
        return port != 0 || !shell.Running();
    }, kDeadline));
    ASSERT_NE(port, 0) << shell.Stderr();
    ASSERT_TRUE(WaitFor([&] { return !ReadFile(first).empty(); }, kDeadline));
    for (int i = 0; i < 100; ++i) {
        AskSize("127.0.0.1", port);
    }
    EXPECT_EQ(AskSize("127.0.0.1", port).reply, SizeReply());
    EXPECT_TRUE(shell.Running());
}

}  // namespace
