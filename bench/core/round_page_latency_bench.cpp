// From the moment a message 303 is sent until the window has painted the new page: the
// server, the processing thread, the page built and put in, the queued repaint request
// and the paint itself. Reports the median and the slowest of the sends besides the mean.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/qt/main_frame.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "peer.h"

namespace {

std::unique_ptr<CommMsg_base> RoundPage(const char* clockColour)
{
    auto msg = std::make_unique<CommMsg_base>();
    msg->ResetMsg(MSGID_ROUND_PAGE);
    SetIntField(*msg, MsgKey::kRemaining, 600);
    SetIntField(*msg, MsgKey::kPeriodLength, 1200);
    SetIntField(*msg, MsgKey::kClockX, 50);
    SetIntField(*msg, MsgKey::kClockY, 50);
    SetIntField(*msg, MsgKey::kClockHeight, 40);
    (*msg)[std::to_string(MsgKey::kClockColour)] = clockColour;
    return msg;
}

// The clock's digits cross the middle line of the screen; only that line is copied from
// the window, so the polling costs next to nothing.
bool MiddleLineHas(const CMainFrame& frame, QRgb colour)
{
    const QImage image = frame.ScreenImage(QRect(0, frame.height() / 2, frame.width(), 1));
    if (image.isNull()) {
        return false;
    }
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(0));
    for (int x = 0; x < image.width(); ++x) {
        if ((line[x] & 0xFFFFFFu) == (colour & 0xFFFFFFu)) {
            return true;
        }
    }
    return false;
}

void BM_RoundPageToFirstRepaint(benchmark::State& state)
{
    CMainFrame frame(0);
    if (!frame.Create()) {
        state.SkipWithError("no window");
        return;
    }
    frame.ShowWithClientSize(1920, 1080);
    QCoreApplication::processEvents();
    const std::vector<std::uint8_t> frames[2] = {FrameOf(*RoundPage("0,255,0")), FrameOf(*RoundPage("0,0,255"))};
    const QRgb colours[2] = {qRgb(0, 255, 0), qRgb(0, 0, 255)};
    int i = 0;
    std::vector<double> milliseconds;
    for (auto _ : state) {
        const int k = i++ % 2;
        const auto start = std::chrono::steady_clock::now();
        Peer peer(frame.ListeningPort());
        peer.SendBytes(frames[k]);
        while (!MiddleLineHas(frame, colours[k])) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        milliseconds.push_back(seconds * 1000);
        peer.WaitClosed();
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    if (!milliseconds.empty()) {
        state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
        state.counters["max_ms"] = milliseconds.back();
    }
}

BENCHMARK(BM_RoundPageToFirstRepaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
