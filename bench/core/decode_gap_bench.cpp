// While a note whose picture takes seconds to decode is being handled, the window must
// go on serving its ten ticks a second and repainting the running clock. Reports the
// picture's decode time on its own, the longest gap between handled repaint ticks and
// the longest gap between paints while the note was handled, and the paints in that time.
#include <QCoreApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "app/qt/main_frame.h"
#include "msg/comm_msg.h"
#include "msg/msg_fields.h"
#include "msg/msg_ids.h"
#include "peer.h"
#include "picture_samples.h"
#include "draw/gdi_image.h"
#include "draw/jpeg_scans.h"

namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

// Notes when the window handles a timer tick and when it paints.
class EventClock : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const SteadyTime now = std::chrono::steady_clock::now();
        if (event->type() == QEvent::Timer) Note(m_lastTick, m_longestTickGap, now);
        if (event->type() == QEvent::Paint) {
            Note(m_lastPaint, m_longestPaintGap, now);
            ++m_nPaints;
        }
        return false;
    }
    void Reset()
    {
        m_lastTick = m_lastPaint = std::chrono::steady_clock::now();
        m_longestTickGap = m_longestPaintGap = 0;
        m_nPaints = 0;
    }
    double m_longestTickGap = 0;
    double m_longestPaintGap = 0;
    int m_nPaints = 0;

private:
    static void Note(SteadyTime& last, double& longest, SteadyTime now)
    {
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    SteadyTime m_lastTick;
    SteadyTime m_lastPaint;
};

// A progressive JPEG at the scan limit: accepted, and slow to decode. Its content is
// smooth, so the scans are short on the wire while each still costs a pass over all
// the picture's coefficients.
const std::vector<std::uint8_t>& SlowPicture()
{
    static const std::vector<std::uint8_t> bytes = [] {
        const QImage photo = GradientPicture(9000, 7000);
        const std::vector<std::uint8_t> plain = JpegBytes(photo, true);
        return ManyScanJpeg(photo, kMaxJpegScans - CountJpegScans(plain.data(), plain.size()));
    }();
    return bytes;
}

void BM_RepaintGapWhileANoteIsDecoded(benchmark::State& state)
{
    CMainFrame frame(0);
    if (!frame.Create()) {
        state.SkipWithError("no window");
        return;
    }
    frame.ShowWithClientSize(1920, 1080);
    const std::vector<std::uint8_t>& picture = SlowPicture();
    const auto decodeStart = std::chrono::steady_clock::now();
    CImage alone;
    alone.Load(picture.data(), static_cast<int>(picture.size()), SIZE{1920, 1080});
    const double decodeMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - decodeStart).count();

    EventClock clock;
    frame.installEventFilter(&clock);
    for (auto _ : state) {
        auto round = std::make_unique<CommMsg_base>();
        round->ResetMsg(MSGID_ROUND_PAGE);
        SetIntField(*round, MsgKey::kRemaining, 600);
        SetIntField(*round, MsgKey::kPeriodLength, 1200);
        {
            Peer peer(frame.ListeningPort());
            peer.Send(*round);
            while (!peer.WaitClosed(std::chrono::milliseconds(10))) QCoreApplication::processEvents();
        }
        for (int i = 0; i < 50; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        auto note = std::make_unique<CommMsg_base>();
        note->ResetMsg(MSGID_NOTE_PAGE);
        note->SetAttachment(picture.data(), static_cast<int>(picture.size()));
        Peer peer(frame.ListeningPort());
        // Sent from this thread, the window's: the gaps are counted from when the bytes
        // are out.
        peer.Send(*note);
        clock.Reset();
        while (!peer.WaitClosed(std::chrono::milliseconds(2))) QCoreApplication::processEvents();
    }
    state.counters["decode_ms"] = decodeMs;
    state.counters["picture_kib"] = static_cast<double>(picture.size()) / 1024;
    state.counters["longest_tick_gap_ms"] = clock.m_longestTickGap;
    state.counters["longest_paint_gap_ms"] = clock.m_longestPaintGap;
    state.counters["paints"] = clock.m_nPaints;
    frame.removeEventFilter(&clock);
}

BENCHMARK(BM_RepaintGapWhileANoteIsDecoded)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
