// Speed of the server as peers see it: round trips, queueing behind many messages, a
// crowd of simultaneous requests, an oversized JSON frame, and cutting frames.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/frame_buffer.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "net/frame_cutter.h"
#include "net/server.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

Bytes MakeFrame(const std::string& json, std::size_t attachBytes = 0)
{
    Bytes f(8 + json.size() + attachBytes, 0x5A);
    WriteInt32LE(f.data(), static_cast<std::int32_t>(f.size()));
    WriteInt32LE(f.data() + 4, static_cast<std::int32_t>(attachBytes));
    std::memcpy(f.data() + 8, json.data(), json.size());
    return f;
}

// As the display answers: a size reply to 309, and every connection closed 50 ms after
// its message by the connection's own timer.
class DisplayLikeProc : public CProcBase_tq {
public:
    CIOCPclass2016BC* m_pServer = nullptr;

    void OnMessage(SOCKET s, CommMsg_base* msg) override
    {
        if (GetIntByName(*msg, kMsgIdKey) == MSGID_SCREEN_SIZE) {
            CommMsg_base reply;
            reply.ResetMsg(MSGID_SCREEN_SIZE);
            SetIntField(reply, MsgKey::kScreenWidth, 1920);
            SetIntField(reply, MsgKey::kScreenHeight, 1080);
            m_pServer->SendMsg({s}, reply);
        }
        m_pServer->CloseConnection(s, std::chrono::milliseconds(50));
    }

    static std::size_t ReplyLength()
    {
        CommMsg_base reply;
        reply.ResetMsg(MSGID_SCREEN_SIZE);
        SetIntField(reply, MsgKey::kScreenWidth, 1920);
        SetIntField(reply, MsgKey::kScreenHeight, 1080);
        FrameBuffer f;
        f.FromMessage(reply);
        return static_cast<std::size_t>(f.Length());
    }
};

// One server for the whole run.
int ServerPort()
{
    static DisplayLikeProc proc;
    static const auto server = [] {
        auto s = std::make_unique<CIOCPclass2016BC>();
        proc.m_pServer = s.get();
        s->CreateField(0, &proc);
        return s;
    }();
    return server->ListeningPort();
}

int Connect(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const Bytes& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The reply's bytes, or fewer if the connection ended first.
std::size_t ReadReply(int fd, std::size_t length)
{
    std::size_t got = 0;
    char buf[256];
    while (got < length) {
        const ssize_t n = ::recv(fd, buf, std::min(sizeof buf, length - got), 0);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

double Millis(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void ReportPercentiles(benchmark::State& state, std::vector<double> ms)
{
    if (ms.empty()) {
        return;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["max_ms"] = ms.back();
}

const Bytes& SizeRequest()
{
    static const Bytes frame = MakeFrame("{\"pub_MsgID\":309}");
    return frame;
}

// Connect, send a size request, read the whole reply.
void BM_SizeRequestRoundTrip(benchmark::State& state)
{
    const int port = ServerPort();
    const std::size_t replyLength = DisplayLikeProc::ReplyLength();
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = Clock::now();
        const int fd = Connect(port);
        const bool ok = fd >= 0 && SendAll(fd, SizeRequest()) && ReadReply(fd, replyLength) == replyLength;
        ms.push_back(Millis(Clock::now() - start));
        ::close(fd);
        if (!ok) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    ReportPercentiles(state, ms);
}
BENCHMARK(BM_SizeRequestRoundTrip)->Iterations(3000)->UseRealTime();

// 200 round pages queued, each on its own connection, then a size request: the time
// from sending the request to having its reply.
void BM_SizeRequestBehind200RoundPages(benchmark::State& state)
{
    const int port = ServerPort();
    const std::size_t replyLength = DisplayLikeProc::ReplyLength();
    std::string round = R"({"pub_MsgID":303,"1":"Round 3 of 7","2":"20:00","11":2400,"13":"#FFFF00")";
    round += R"(,"14":"#000080","16":"Boards 17-24","18":"Next: Round 4","21":1,"22":0})";
    const Bytes roundFrame = MakeFrame(round);
    std::vector<double> ms;
    for (auto _ : state) {
        std::vector<int> pages;
        for (int i = 0; i < 200; ++i) {
            pages.push_back(Connect(port));
            SendAll(pages.back(), roundFrame);
        }
        const auto start = Clock::now();
        const int fd = Connect(port);
        const bool ok = fd >= 0 && SendAll(fd, SizeRequest()) && ReadReply(fd, replyLength) == replyLength;
        ms.push_back(Millis(Clock::now() - start));
        ::close(fd);
        for (int p : pages) {
            ::close(p);
        }
        if (!ok) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    ReportPercentiles(state, ms);
}
BENCHMARK(BM_SizeRequestBehind200RoundPages)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

// 100 peers connect and send a size request at once; the time until the last of them
// has its exact reply.
void BM_HundredSimultaneousSizeRequests(benchmark::State& state)
{
    const int port = ServerPort();
    const std::size_t replyLength = DisplayLikeProc::ReplyLength();
    std::vector<double> ms;
    for (auto _ : state) {
        std::vector<int> fds;
        for (int i = 0; i < 100; ++i) {
            fds.push_back(Connect(port));
        }
        const auto start = Clock::now();
        for (int fd : fds) {
            SendAll(fd, SizeRequest());
        }
        int answered = 0;
        for (int fd : fds) {
            answered += ReadReply(fd, replyLength) == replyLength ? 1 : 0;
        }
        ms.push_back(Millis(Clock::now() - start));
        for (int fd : fds) {
            ::close(fd);
        }
        if (answered != 100) {
            state.SkipWithError("not every request was answered");
            break;
        }
    }
    ReportPercentiles(state, ms);
}
BENCHMARK(BM_HundredSimultaneousSizeRequests)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

// kB of the peak resident set since the last reset.
long PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

void ResetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// One peer sends an 8 MiB JSON frame while another keeps asking for the size: how far
// the process's peak resident set rises, and the slowest of the other peer's answers.
void BM_EightMiBJsonFrame(benchmark::State& state)
{
    const int port = ServerPort();
    const std::size_t replyLength = DisplayLikeProc::ReplyLength();
    std::string json = R"({"pub_MsgID":303,"1":")";
    json += std::string(8 * 1024 * 1024, '[') + "\"}";
    const Bytes big = MakeFrame(json);
    double riseMb = 0;
    std::vector<double> others;
    for (auto _ : state) {
        ResetPeakResident();
        const long before = PeakResidentKb();
        std::atomic<bool> sending{true};
        std::thread asker([&] {
            while (sending) {
                const auto start = Clock::now();
                const int fd = Connect(port);
                SendAll(fd, SizeRequest());
                ReadReply(fd, replyLength);
                others.push_back(Millis(Clock::now() - start));
                ::close(fd);
            }
        });
        const int fd = Connect(port);
        SendAll(fd, big);
        SendAll(fd, SizeRequest());
        const bool answered = ReadReply(fd, replyLength) == replyLength;
        sending = false;
        asker.join();
        ::close(fd);
        riseMb = std::max(riseMb, static_cast<double>(PeakResidentKb() - before) / 1024.0);
        if (!answered) {
            state.SkipWithError("the connection was not answered after its oversized frame");
            break;
        }
    }
    state.counters["rss_rise_MiB"] = riseMb;
    ReportPercentiles(state, others);
}
BENCHMARK(BM_EightMiBJsonFrame)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

// A stream of frames of one size arriving in receive-sized pieces, cut into parsed
// messages.
void BM_CutFrames(benchmark::State& state)
{
    const auto attach = static_cast<std::size_t>(state.range(0));
    const auto frame = MakeFrame("{\"1\":\"Round 1\",\"pub_MsgID\":305}", attach);
    Bytes wire;
    while (wire.size() < 4 * 1024 * 1024) {
        wire.insert(wire.end(), frame.begin(), frame.end());
    }
    const std::size_t frames = wire.size() / frame.size();
    constexpr std::size_t kPiece = 32 * 1024;
    for (auto _ : state) {
        StreamBuffer stream;
        FrameCutter cutter;
        std::vector<CutMessage> out;
        for (std::size_t at = 0; at < wire.size(); at += kPiece) {
            stream.Append(wire.data() + at, std::min(kPiece, wire.size() - at));
            cutter.Cut(stream, out);
            out.clear();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * frames));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * wire.size()));
}
BENCHMARK(BM_CutFrames)->Arg(0)->Arg(4096)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
