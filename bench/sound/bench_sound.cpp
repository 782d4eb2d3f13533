#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "sound/bell_trigger.h"
#include "sound/chime.h"
#include "sound/device_output.h"
#include "sound/sound_player.h"

namespace {

// Once at start with --sound bell.
void BM_SynthesiseChime(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(SynthesiseChime());
}
BENCHMARK(BM_SynthesiseChime)->Unit(benchmark::kMillisecond);

// An output that stays busy until the player ends, so every ring meets a full queue or
// a free slot, never a played sound.
class BusyOutput : public SoundOutput {
public:
    bool Play(const SoundClip&, const std::atomic<bool>& stop, std::string&) override
    {
        while (!stop.load()) std::this_thread::yield();
        return true;
    }
};

// What the window thread pays for a ring while a sound plays: it must never wait.
void BM_RingWhilePlaying(benchmark::State& state)
{
    CSoundPlayer player(SoundClip{}, std::make_unique<BusyOutput>(), nullptr);
    for (auto _ : state) player.Ring();
}
BENCHMARK(BM_RingWhilePlaying);

// Every tick of the window with a round page shown and two stages.
void BM_TriggerTick(benchmark::State& state)
{
    int rings = 0;
    CBellTrigger trigger({300, 60}, [&] { ++rings; });
    const DateTime end = DateTime::FromLocal(2026, 3, 14, 16, 0, 0);
    int remaining = 1000000;
    for (auto _ : state) trigger.OnTick(RoundOnScreen{end, 3600, remaining--});
    benchmark::DoNotOptimize(rings);
}
BENCHMARK(BM_TriggerTick);

// One whole chime through the session's sound server: the time until it has been heard,
// and so how long a stream is open. Skipped where no server answers.
void BM_PlayChimeThroughPulse(benchmark::State& state)
{
    const SoundClip chime = SynthesiseChime();
    DeviceOutput output;
    const std::atomic<bool> stop{false};
    for (auto _ : state) {
        std::string error;
        if (!output.Play(chime, stop, error)) {
            state.SkipWithError(("no sound server: " + error).c_str());
            break;
        }
    }
}
BENCHMARK(BM_PlayChimeThroughPulse)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
