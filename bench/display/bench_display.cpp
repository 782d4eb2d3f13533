// Cost of composing one repaint, at the sizes of common screens. Runs on the offscreen
// platform when there is no display.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <mutex>
#include <optional>
#include <vector>

#include "display/board_list.h"
#include "whole_composition.h"
#include "display/draw_screen.h"
#include "display/frame_composer.h"
#include "display/screen_pages.h"
#include "msg/comm_msg.h"
#include "msg/msg_ids.h"
#include "picture_samples.h"
#include "platform/clock.h"
#include "platform/gdi_dc.h"

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
        ScreenPage::RoundFields f;
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

// One DrawScreen into an image of the client size.
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
        CDC dc(image);
        DrawScreen(dc, RECT{0, 0, width, height}, pages, screenState);
        benchmark::DoNotOptimize(image.constBits());
    }
    Clock::UseSystemTime();
}

// A whole repaint: the fresh frame, DrawScreen and the colour-keyed copy.
void BM_ComposeFrame(benchmark::State& state)
{
    const auto screen = static_cast<Screen>(state.range(0));
    const QSize client(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    Show(pages, screen);
    QImage kept;
    const ScreenState screenState{false, {client.width(), client.height()}, {}};
    for (auto _ : state) {
        ComposeFrame(kept, client, pages, screenState);
        benchmark::DoNotOptimize(kept.constBits());
    }
    Clock::UseSystemTime();
}

// A second as the window makes it: the parts the moving layer touches composed whole, the
// pixels that differ from the screen's picture found, and painted onto it.
void BM_FrameComposerEachSecond(benchmark::State& state)
{
    const auto screen = static_cast<Screen>(state.range(0));
    const QSize client(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0));
    ScreenPageList pages;
    Show(pages, screen);
    QImage kept(client, QImage::Format_RGB32);
    kept.fill(Qt::black);
    FrameComposer composer;
    const ScreenState screenState{false, {client.width(), client.height()}, {}};
    for (auto _ : state) {
        Clock::Advance(1);
        const std::optional<QRegion> changed = composer.Compose(client, pages, screenState, &kept);
        QPainter painter(&kept);
        composer.Paint(painter, changed.value_or(QRegion()));
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
BENCHMARK(BM_ComposeFrame)->Apply(Sizes);
BENCHMARK(BM_FrameComposerEachSecond)->Apply(Sizes);

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
