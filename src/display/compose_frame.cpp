#include "compose_frame.h"

#include <cstring>

#include "display/screen_pages.h"
#include "platform/clock.h"
#include "platform/lang_index.h"

bool HoldsColour(const QImage& image, COLORREF colour, QRect area)
{
    // Eight pixels a step in the compiler's vector types, which become SSE or NEON
    // instructions: the plain loop is left scalar at the optimisation level we build with,
    // and this scan runs over the whole screen at every whole composition.
    using Lanes = std::uint32_t __attribute__((vector_size(32)));
    constexpr int kLanes = static_cast<int>(sizeof(Lanes) / sizeof(std::uint32_t));
    area &= image.rect();
    const std::uint32_t rgb = PixelRgb(colour);
    const Lanes mask = Lanes{} + kPixelRgb;
    const Lanes wanted = Lanes{} + rgb;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)) + area.left();
        const int n = area.width();
        Lanes hits{};
        int x = 0;
        for (; x + kLanes <= n; x += kLanes) {
            Lanes pixels;
            std::memcpy(&pixels, line + x, sizeof pixels);
            hits |= reinterpret_cast<Lanes>((pixels & mask) == wanted);
        }
        std::uint32_t hit = 0;
        for (int i = 0; i < kLanes; ++i) hit |= hits[i];
        for (; x < n; ++x) hit |= static_cast<std::uint32_t>((line[x] & kPixelRgb) == rgb);
        if (hit != 0) return true;
    }
    return false;
}

FrameKey CurrentFrameKey(const ScreenPageList& pages, QSize client, const ScreenState& state)
{
    return FrameKey{pages.Generation(), Clock::Now().Days(), client, WindowLangIndex(), state};
}

bool operator==(const FrameKey& a, const FrameKey& b)
{
    const ScreenState& s = a.state;
    const ScreenState& t = b.state;
    return a.nGeneration == b.nGeneration && a.dNowDays == b.dNowDays && a.client == b.client &&
           a.nLanguage == b.nLanguage && s.bFullScreen == t.bFullScreen && s.reportedSize == t.reportedSize &&
           s.footer.nPort == t.footer.nPort && s.footer.bListening == t.footer.bListening &&
           s.timeSignals.stages == t.timeSignals.stages &&
           s.timeSignals.bBlinkOvertime == t.timeSignals.bBlinkOvertime &&
           s.timeSignals.strSound == t.timeSignals.strSound;
}
