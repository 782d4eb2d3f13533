// The whole program under Xvfb while a peer keeps sending what costs the most: a
// progressive JPEG of 600 scans, a round page with a 10 MB title and a board list of
// 300,000 full-width commas. Meanwhile another peer asks for the screen size over and
// over; reports how long each answer took, from the connection to the reply, and how
// many costly messages went in meanwhile.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <regex>
#include <thread>
#include <unistd.h>

#include "child_process.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "peer.h"
#include "picture_samples.h"
#include "x_server.h"

namespace {

std::vector<std::vector<std::uint8_t>> CostlyFrames()
{
    const std::vector<std::uint8_t> jpeg = ManyScanJpeg(GradientPicture(640, 480), 600);
    CommMsg_base note;
    note.ResetMsg(MSGID_NOTE_PAGE);
    note.SetAttachment(jpeg.data(), static_cast<int>(jpeg.size()));
    CommMsg_base round;
    round.ResetMsg(MSGID_ROUND_PAGE);
    SetIntField(round, MsgKey::kRemaining, 600);
    SetIntField(round, MsgKey::kPeriodLength, 1200);
    round["1"] = std::string(10'000'000, 'T');
    std::string boards = "1~3";
    for (int i = 0; i < 300'000; ++i) boards += "，";
    round["14"] = boards;
    return {FrameOf(note), FrameOf(round)};
}

void BM_SizeAnswerWhileCostlyInputsArrive(benchmark::State& state)
{
    std::string dir = (std::filesystem::temp_directory_path() / "pavlune-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) {
        state.SkipWithError("no scratch directory");
        return;
    }
    const std::vector<std::vector<std::uint8_t>> costly = CostlyFrames();
    for (auto _ : state) {
        XServer x(1920, 1080, dir);
        EnvChanges env = x.Env();
        env["XDG_RUNTIME_DIR"] = dir;
        env["QT_QPA_PLATFORM"] = std::nullopt;
        ChildProcess display({PAVLUNE_BINARY_DIR "/pavlune", "--port", "0", "--fullscreen"}, env, dir + "/pavlune.out",
                             dir + "/pavlune.err");
        std::smatch m;
        std::string out;
        const std::regex listening("listening on port ([0-9]+)");
        if (!x.Started()
            || !WaitFor([&] { return std::regex_search(out = display.Stdout(), m, listening); }, std::chrono::seconds(30))) {
            state.SkipWithError("the display did not start");
            break;
        }
        const int port = std::stoi(m[1].str());
        std::atomic<bool> stop{false};
        std::atomic<int> sent{0};
        std::thread hostile([&] {
            for (std::size_t i = 0; !stop; ++i) {
                Peer peer(port);
                peer.SendBytes(costly[i % costly.size()]);
                peer.WaitClosed();
                ++sent;
            }
        });
        CommMsg_base size;
        size.ResetMsg(MSGID_SCREEN_SIZE);
        std::vector<double> milliseconds;
        for (int i = 0; i < 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Peer peer(port);
            peer.Send(size);
            peer.WaitClosed();
            if (peer.Received().size() > 8) {
                milliseconds.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        stop = true;
        hostile.join();
        std::sort(milliseconds.begin(), milliseconds.end());
        state.counters["answers"] = static_cast<double>(milliseconds.size());
        state.counters["costly_sent"] = sent.load();
        if (!milliseconds.empty()) {
            state.counters["answer_median_ms"] = milliseconds[milliseconds.size() / 2];
            state.counters["answer_max_ms"] = milliseconds.back();
        }
        state.counters["running"] = display.Running() ? 1 : 0;
    }
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_SizeAnswerWhileCostlyInputsArrive)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
