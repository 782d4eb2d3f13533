// The whole program as a room would run it: full screen at 1920 x 1080 under Xvfb,
// showing a running round page for 30 seconds. Reports its CPU use over that time and
// its resident memory (now and at peak), read from /proc.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

#include "full_screen_display.h"

namespace {

// utime + stime of the process, in clock ticks.
long long CpuTicks(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    for (int n = 3; fields >> field; ++n) {
        if (n == 14) {
            utime = std::stoll(field);
        } else if (n == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return utime + stime;
}

// A "VmRSS:" style line of /proc/PID/status, in MiB.
double StatusMiB(pid_t pid, const std::string& key)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stod(line.substr(key.size())) / 1024.0;
        }
    }
    return 0;
}

void BM_RunningRoundPage1920x1080(benchmark::State& state)
{
    std::string dir = (std::filesystem::temp_directory_path() / "pavlune-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) {
        state.SkipWithError("no scratch directory");
        return;
    }
    for (auto _ : state) {
        FullScreenDisplay display(1920, 1080, dir);
        if (display.Port() == 0) {
            state.SkipWithError("the display did not start");
            break;
        }
        const ToolResult sent = RunTool(
            {PAVLUNE_BINARY_DIR "/pavlune-send", "--port", std::to_string(display.Port()), "round", "--title", "Round 4 of 7",
             "--subtitle", "Open pairs", "--remaining", "1500", "--length", "1800", "--boards", "1-7",
             "--caption", "Time", "--clock-x", "50", "--clock-y", "55", "--clock-height", "40", "--clock-box",
             "--title-colour", "248,248,232", "--clock-colour", "248,248,248", "--overtime-colour", "255,64,64"},
            {}, dir);
        if (sent.nStatus != 0) {
            state.SkipWithError("the round page could not be sent");
            break;
        }
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const long long ticksBefore = CpuTicks(display.Process().Pid());
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(30));
        const long long ticks = CpuTicks(display.Process().Pid()) - ticksBefore;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["cpu_percent"] = 100.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
        state.counters["rss_MiB"] = StatusMiB(display.Process().Pid(), "VmRSS:");
        state.counters["peak_rss_MiB"] = StatusMiB(display.Process().Pid(), "VmHWM:");
    }
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_RunningRoundPage1920x1080)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
