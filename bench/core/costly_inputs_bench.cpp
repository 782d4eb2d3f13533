// The whole program under Xvfb while a peer keeps sending what costs the most: a
// progressive JPEG of 600 scans, and a round page with a title as long as a message's
// text allows beside a board list of 300,000 full-width commas (a longer text is refused
// unread, so it costs nothing). Meanwhile another peer asks for the screen size over and
// over; reports how long each answer took, from the connection to the reply, and how
// many costly messages went in meanwhile.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>
#include <unistd.h>

#include "full_screen_display.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "peer.h"
#include "picture_samples.h"

namespace {

std::vector<std::vector<std::uint8_t>> CostlyFrames()
{
    const std::vector<std::uint8_t> jpeg = ManyScanJpeg(GradientPicture(640, 480), 600);
    CommMsg_base note;
    note.ResetMsg(MSGID_NOTE_PAGE);
    note.SetAttachment(jpeg.data(), static_cast<int>(jpeg.size()));
    // Written out by hand: a JSON writer would escape each comma into six bytes, and the
    // text would pass the bound of a message's JSON.
    std::string json = R"({"pub_MsgID":303,"11":600,"13":1200,"1":")" + std::string(100'000, 'T') + R"(","14":"1~3)";
    for (int i = 0; i < 300'000; ++i) json += "，";
    json += "\"}\n";
    // The frame: its whole length, the attachment's length (none), the text.
    const std::size_t length = json.size() + 8;
    std::string round = std::string(8, '\0') + json;
    for (std::size_t i = 0; i < 4; ++i) round[i] = static_cast<char>(length >> (8 * i));
    return {FrameOf(note), std::vector<std::uint8_t>(round.begin(), round.end())};
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
        FullScreenDisplay display(1920, 1080, dir);
        if (display.Port() == 0) {
            state.SkipWithError("the display did not start");
            break;
        }
        const int port = display.Port();
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
        state.counters["running"] = display.Process().Running() ? 1 : 0;
    }
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_SizeAnswerWhileCostlyInputsArrive)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
