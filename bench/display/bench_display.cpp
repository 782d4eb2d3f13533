// Cost of a repaint and of a tick, at the sizes of common screens. Runs on the offscreen
// platform when there is no display.
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <mutex>
#include <vector>

#include "display/pages/board_list.h"
#include "display/drawing/draw_screen.h"
#include "display/drawing/screen_refresh.h"
#include "display/pages/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "picture_samples.h"
#include "os/clock.h"
#include "draw/qt/qt_dc.h"

namespace {

enum Screen { kInfo, kRound, kNote };

// A photograph-like picture, as JPEG bytes.
const std::vector<std::uint8_t>& Photo()
{
    static const std::vector<std::uint8_t> bytes = JpegBytes(DetailedPicture(1600, 1200), false);
    return bytes;
}

void Show(ScreenPageList& pages, Screen screen)
{
    const std::lock_guard<std::mutex> lock(pages.Mutex());
    pages.ClearPages();
    if (screen == kRound) {
        ReceivedRound f;
        f.title = "第三轮 Round 3";
        f.subtitle = "Open pairs, section A";
        f.remainingSeconds = 3000;
        f.roundSeconds = 3600;
        f.boards = "1~8";
        f.barCaption = "Round 3";
        f.clockX = 50;
        f.clockY = 50;
        f.clockHeight = 40;
        f.clockBox = true;
        f.clrTitle = RGB(248, 248, 232);
        f.clrClock = RGB(248, 248, 248);
        f.clrOvertime = RGB(255, 64, 64);
        f.language = 1;
        f.pictureData = Photo().data();
        f.pictureLength = static_cast<int>(Photo().size());
        pages.AddRoundPage(f);
    } else if (screen == kNote) {
        CommMsg_base msg;
        msg.ResetMsg(MSGID_NOTE_PAGE);
        msg.SetAttachment(Photo().data(), static_cast<int>(Photo().size()));
        pages.OnNotePageMessage(msg);
    }
}

// One DrawScreen into an image of the client size: a whole repaint.
void BM_DrawScreen(benchmark::State& state)
{
    const auto screen = static_cast<Screen>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    Show(pages, screen);
    QImage image(width, height, QImage::Format_RGB32);
    const ScreenState screenState{false, {width, height}, {}};
    for (auto _ : state) {
        QtDC dc(image);
        DrawScreen(dc, RECT{0, 0, width, height}, pages, screenState, Clock::Now());
        benchmark::DoNotOptimize(image.constBits());
    }
    Clock::UseSystemTime();
}

// A tick whose picture is the one shown: the measure of the screen, nothing drawn. Ten a
// second, whatever the screen shows.
void BM_SteadyTick(benchmark::State& state)
{
    const auto screen = static_cast<Screen>(state.range(0));
    const SIZE client{static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    Show(pages, screen);
    ScreenRefresh refresh;
    const ScreenState screenState{false, {client.cx, client.cy}, {}};
    refresh.Tick(client, pages, screenState, Clock::Now());
    for (auto _ : state) benchmark::DoNotOptimize(refresh.Tick(client, pages, screenState, Clock::Now()));
    Clock::UseSystemTime();
}

// A second as the window makes it: the tick that finds what the second changes, and the
// repaint of those parts onto the screen's picture.
void BM_RefreshEachSecond(benchmark::State& state)
{
    const auto screen = static_cast<Screen>(state.range(0));
    const SIZE client{static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    Show(pages, screen);
    QImage kept(client.cx, client.cy, QImage::Format_RGB32);
    kept.fill(Qt::black);
    ScreenRefresh refresh;
    const ScreenState screenState{false, {client.cx, client.cy}, {}};
    for (auto _ : state) {
        Clock::Advance(1);
        const std::vector<RECT> parts = refresh.Tick(client, pages, screenState, Clock::Now());
        QtDC dc(kept);
        refresh.Paint(dc, parts, client, pages, screenState);
    }
    Clock::UseSystemTime();
}

// A board list of N full-width commas between two boards: normalised and parsed as a
// page is made. The time must grow in proportion to N.
void BM_ParseFullWidthBoardList(benchmark::State& state)
{
    std::string text = "１～３";
    for (std::int64_t i = 0; i < state.range(0); ++i) text += "，";
    text += "５";
    for (auto _ : state) benchmark::DoNotOptimize(ParseBoardList(text, false));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseFullWidthBoardList)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 300'000)
    ->Arg(300'000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void Sizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"screen", "w", "h"});
    for (int screen : {kInfo, kRound, kNote}) {
        b->Args({screen, 1920, 1080});
        b->Args({screen, 3840, 2160});
        // Portrait: the clock and the caption are fitted on every repaint.
        b->Args({screen, 1080, 1920});
    }
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_DrawScreen)->Apply(Sizes);
BENCHMARK(BM_SteadyTick)->Apply(Sizes);
BENCHMARK(BM_RefreshEachSecond)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv)
{
    // Headless machines have no display server; the drawing itself is the same.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
