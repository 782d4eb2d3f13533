// A picture of the screen asked for from outside (921): the time from the request to the
// last byte of the reply, at two screen sizes; and the window's longest gap between its
// ticks while 20 such requests arrive at once, which is where an encode on the window's
// thread would show.
#include <QCoreApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <chrono>
#include <memory>
#include <vector>

#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "core/screen_picture_service.h"
#include "peer.h"
#include "app/qt/main_frame.h"

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

class TickClock : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) {
            const SteadyTime now = std::chrono::steady_clock::now();
            m_longestGap = std::max(m_longestGap, std::chrono::duration<double, std::milli>(now - m_last).count());
            m_last = now;
        }
        return false;
    }
    void Reset()
    {
        m_last = std::chrono::steady_clock::now();
        m_longestGap = 0;
    }
    double m_longestGap = 0;

private:
    SteadyTime m_last;
};

void Pump(int nTimes)
{
    for (int i = 0; i < nTimes; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A window of the size showing a running round page.
bool ShowRoundPage(CMainFrame& frame, int nWidth, int nHeight)
{
    if (!frame.Create()) return false;
    frame.ShowWithClientSize(nWidth, nHeight);
    CommMsg_base round;
    round.ResetMsg(MSGID_ROUND_PAGE);
    SetIntField(round, MsgKey::kRemaining, 600);
    SetIntField(round, MsgKey::kPeriodLength, 1200);
    Peer peer(frame.ListeningPort());
    peer.Send(round);
    while (!peer.WaitClosed(std::chrono::milliseconds(10))) QCoreApplication::processEvents();
    Pump(30);
    return true;
}

void BM_ScreenPictureRequestToLastByte(benchmark::State& state)
{
    CMainFrame frame(0);
    if (!ShowRoundPage(frame, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("no window");
        return;
    }
    CommMsg_base request;
    request.ResetMsg(MSGID_SCREEN_PICTURE);
    std::size_t nReplyBytes = 0;
    for (auto _ : state) {
        Peer peer(frame.ListeningPort());
        const auto start = std::chrono::steady_clock::now();
        peer.Send(request);
        while (!peer.WaitClosed(std::chrono::milliseconds(2))) QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        nReplyBytes = peer.Received().size();
    }
    state.counters["reply_kib"] = static_cast<double>(nReplyBytes) / 1024;
}

// What a desk's watch costs a display each time, past the copy of the screen: the picture
// scaled to the width the desk's page shows, and encoded.
void BM_DeskPictureOfA1080pScreen(benchmark::State& state)
{
    CMainFrame frame(0);
    if (!ShowRoundPage(frame, 1920, 1080)) {
        state.SkipWithError("no window");
        return;
    }
    const QImage screen = frame.ScreenImage();
    Image32 picture(screen.width(), screen.height());
    for (int y = 0; y < picture.Height(); ++y) {
        std::memcpy(picture.Line(y), screen.constScanLine(y), static_cast<std::size_t>(picture.Width()) * 4);
    }
    for (auto _ : state) {
        CommMsg_base reply;
        MakeScreenPictureReply(picture, static_cast<int>(state.range(0)), reply);
        benchmark::DoNotOptimize(reply.m_nAttachLen);
    }
}

void BM_TickGapWhile20ScreenPicturesAreAskedFor(benchmark::State& state)
{
    CMainFrame frame(0);
    if (!ShowRoundPage(frame, 1920, 1080)) {
        state.SkipWithError("no window");
        return;
    }
    CommMsg_base request;
    request.ResetMsg(MSGID_SCREEN_PICTURE);
    TickClock clock;
    frame.installEventFilter(&clock);
    int nAnswered = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<Peer>> peers;
        clock.Reset();
        for (int i = 0; i < 20; ++i) {
            peers.push_back(std::make_unique<Peer>(frame.ListeningPort()));
            peers.back()->Send(request);
        }
        for (auto& peer : peers) {
            while (!peer->WaitClosed(std::chrono::milliseconds(2))) QCoreApplication::processEvents();
            nAnswered += peer->Received().empty() ? 0 : 1;
        }
    }
    frame.removeEventFilter(&clock);
    state.counters["longest_tick_gap_ms"] = clock.m_longestGap;
    state.counters["answered"] = nAnswered;
}

BENCHMARK(BM_ScreenPictureRequestToLastByte)->Args({1920, 1080})->Args({3840, 2160})->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DeskPictureOfA1080pScreen)->Arg(480)->Arg(1920)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickGapWhile20ScreenPicturesAreAskedFor)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
