// Speed of the server: whole messages through it, and cutting frames from a stream.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "net/frame_cutter.h"
#include "net/server.h"

namespace {

std::vector<std::uint8_t> MakeFrame(const std::string& json, std::size_t attachBytes = 0)
{
    std::vector<std::uint8_t> f(8 + json.size() + attachBytes, 0x5A);
    WriteInt32LE(f.data(), static_cast<std::int32_t>(f.size()));
    WriteInt32LE(f.data() + 4, static_cast<std::int32_t>(attachBytes));
    std::memcpy(f.data() + 8, json.data(), json.size());
    return f;
}

// Answers 309 with a screen size and closes every connection at once, as the display
// does less its 50 ms wait, so that the figure is the server's own.
class ReplyingProc : public CProcBase_tq {
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
        m_pServer->CloseConnection(s);
    }
};

// One server for every run and thread of the benchmark.
int ServerPort()
{
    static ReplyingProc proc;
    static const auto server = [] {
        auto s = std::make_unique<CIOCPclass2016BC>();
        proc.m_pServer = s.get();
        s->CreateField(0, &proc);
        return s;
    }();
    return server->ListeningPort();
}

// Connect, send one 309, read the reply until the server closes. False on any failure.
bool OneExchange(int port, const std::vector<std::uint8_t>& request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
              ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    std::size_t received = 0;
    char buf[512];
    for (ssize_t n; ok && (n = ::recv(fd, buf, sizeof buf, 0)) > 0;) {
        received += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return ok && received > 0;
}

void BM_MessageThroughServer(benchmark::State& state)
{
    const int port = ServerPort();
    const auto request = MakeFrame("{\"pub_MsgID\":309}");
    for (auto _ : state) {
        if (!OneExchange(port, request)) {
            state.SkipWithError("exchange failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MessageThroughServer)->Threads(1)->Threads(4)->UseRealTime()->MinTime(2.0);

// A stream of frames of one size arriving in receive-sized pieces, cut into queued
// frames (each parsed once, as the worker does).
void BM_CutFrames(benchmark::State& state)
{
    const auto attach = static_cast<std::size_t>(state.range(0));
    const auto frame = MakeFrame("{\"1\":\"Round 1\",\"pub_MsgID\":305}", attach);
    std::vector<std::uint8_t> wire;
    while (wire.size() < 4 * 1024 * 1024) {
        wire.insert(wire.end(), frame.begin(), frame.end());
    }
    const std::size_t frames = wire.size() / frame.size();
    constexpr std::size_t kPiece = 32766;
    for (auto _ : state) {
        StreamBuffer stream;
        ReceiveQueue queue;
        for (std::size_t at = 0; at < wire.size(); at += kPiece) {
            stream.Append(wire.data() + at, std::min(kPiece, wire.size() - at));
            CutFrames(stream, 1, queue);
            while (queue.Take()) {
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * frames));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * wire.size()));
}
BENCHMARK(BM_CutFrames)->Arg(0)->Arg(4096)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
