#include "screen_refresh.h"

#include "display/pages/colour_key.h"
#include "display/drawing/draw_screen.h"
#include "os/clock.h"

ScreenRefresh::Measure ScreenRefresh::MeasureScreen(SIZE client, ScreenPageList& pages, const ScreenState& state,
                                                    DateTime now)
{
    CRecordDC dc;
    const bool bMayDrawKey = DrawScreen(dc, RECT{0, 0, client.cx, client.cy}, pages, state, now);
    return Measure{std::move(dc.Record()), now, client, bMayDrawKey};
}

std::vector<RECT> ScreenRefresh::Tick(SIZE client, ScreenPageList& pages, const ScreenState& state, DateTime now)
{
    if (client.cx <= 0 || client.cy <= 0) {
        m_shown.reset();
        return {};
    }
    Measure measure = MeasureScreen(client, pages, state, now);
    const RECT whole{0, 0, client.cx, client.cy};
    const bool bKnown = m_shown && m_shown->client.cx == client.cx && m_shown->client.cy == client.cy &&
                        m_shown->bMayDrawKey == measure.bMayDrawKey;
    std::vector<RECT> parts = bKnown ? ChangedAreas(m_shown->record, measure.record, whole) : std::vector<RECT>{whole};
    m_shown = std::move(measure);
    return parts;
}

void ScreenRefresh::Paint(CDC& dc, const std::vector<RECT>& parts, SIZE client, ScreenPageList& pages,
                          const ScreenState& state)
{
    if (!m_shown || m_shown->client.cx != client.cx || m_shown->client.cy != client.cy) {
        Tick(client, pages, state, Clock::Now());
    }
    if (!m_shown) return;
    const RECT whole{0, 0, client.cx, client.cy};
    const DateTime now = m_shown->now;
    if (!m_shown->bMayDrawKey) {
        // One part at a time: a platform draws within one rectangle exactly as it would
        // draw unclipped, which a clip of several need not.
        for (const RECT& part : parts) {
            dc.SetClipRects({part});
            DrawScreen(dc, whole, pages, state, now);
        }
        dc.ClearClip();
        return;
    }
    for (const RECT& rc : parts) {
        const RECT part = RectIntersection(rc, whole);
        Image32 picture(RectWidth(part), RectHeight(part));
        if (picture.IsNull()) continue;
        {
            const std::unique_ptr<CDC> partDc = CreateImageDC(picture, POINT{part.left, part.top});
            DrawScreen(*partDc, whole, pages, state, now);
        }
        dc.TransparentBlt(picture, POINT{part.left, part.top}, kTransparentKey);
    }
}
