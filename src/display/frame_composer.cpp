#include "frame_composer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "display/font_cache.h"
#include "display/round_page.h"
#include "display/screen_pages.h"
#include "display/solid_brush.h"
#include "platform/gdi_text_runs.h"
#include "platform/lang_index.h"

namespace {

bool Fit(QImage& image, QSize size)
{
    if (image.size() != size || image.format() != QImage::Format_RGB32) image = QImage(size, QImage::Format_RGB32);
    return !image.isNull();
}

// Both images of one size in Format_RGB32.
void CopyArea(QImage& dst, const QImage& src, QRect area)
{
    area &= src.rect();
    if (area.isEmpty()) return;
    const auto bytes = static_cast<std::size_t>(area.width()) * sizeof(std::uint32_t);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::memcpy(reinterpret_cast<std::uint32_t*>(dst.scanLine(y)) + area.left(),
                    reinterpret_cast<const std::uint32_t*>(src.constScanLine(y)) + area.left(), bytes);
    }
}

// The copy by the key colour, over the area only.
void KeyCopyArea(QImage& dst, const QImage& src, QRect area)
{
    area &= src.rect();
    const std::uint32_t key = (static_cast<std::uint32_t>(GetRValue(kTransparentKey)) << 16) |
                              (static_cast<std::uint32_t>(GetGValue(kTransparentKey)) << 8) |
                              GetBValue(kTransparentKey);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* d = reinterpret_cast<std::uint32_t*>(dst.scanLine(y));
        const auto* p = reinterpret_cast<const std::uint32_t*>(src.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((p[x] & 0x00FFFFFFu) != key) d[x] = p[x];
        }
    }
}

// The smallest rectangle holding every pixel of the area in which the images differ.
QRect DifferingBox(const QImage& a, const QImage& b, QRect area)
{
    area &= a.rect();
    int top = -1;
    int bottom = -1;
    int left = area.right() + 1;
    int right = area.left() - 1;
    const auto bytes = static_cast<std::size_t>(std::max(area.width(), 0)) * sizeof(std::uint32_t);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* p = reinterpret_cast<const std::uint32_t*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const std::uint32_t*>(b.constScanLine(y));
        // Most rows are alike; memcmp passes over them far faster than a loop that stops.
        if (std::memcmp(p + area.left(), q + area.left(), bytes) == 0) continue;
        int x = area.left();
        while (x <= area.right() && ((p[x] ^ q[x]) & 0x00FFFFFFu) == 0) ++x;
        if (x > area.right()) continue;
        int r = area.right();
        while (((p[r] ^ q[r]) & 0x00FFFFFFu) == 0) --r;
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, x);
        right = std::max(right, r);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

std::optional<QRegion> FrameComposer::Compose(QImage& kept, QSize client, ScreenPageList& pages,
                                              const ScreenState& state)
{
    if (client.isEmpty()) return std::nullopt;
    std::unique_lock<std::mutex> lock(pages.Mutex());
    const ScreenPage* page = pages.CurrentPage();
    if (page == nullptr || !page->m_bRoundPage) {
        lock.unlock();
        m_stillKey.reset();
        m_still = QImage();
        if (!ComposeFrame(kept, m_frame, client, pages, state)) return std::nullopt;
        return QRegion(QRect(QPoint(0, 0), client));
    }

    const StillKey key{FrameKey{pages.Generation(), 0.0, client, WindowLangIndex(), state}, page};
    const bool bWhole = !m_stillKey || m_stillKey->page != page || !(m_stillKey->frame == key.frame) ||
                        kept.size() != client || kept.format() != QImage::Format_RGB32;
    const RECT rect{0, 0, client.width(), client.height()};
    FontCache& fontCache = FontCache::Instance();
    QRegion changed;
    if (bWhole) {
        m_stillKey.reset();
        if (!Fit(m_still, client) || !Fit(m_frame, client)) return std::nullopt;
        {
            CDC dc(m_still);
            dc.FillRect(rect, *GetSolidBrush(kScreenBackground));
            DrawRoundPageStill(dc, fontCache, rect, *page);
        }
        m_bStillHoldsKey = HoldsColour(m_still, kTransparentKey, m_still.rect());
        CopyArea(m_frame, m_still, m_still.rect());
    } else {
        for (const QRect& area : m_moving) CopyArea(m_frame, m_still, area);
        changed = m_moving;
    }
    {
        CDC dc(m_frame);
        m_moving = DrawRoundPageMoving(dc, fontCache, rect, *page, state.timeSignals);
    }
    changed += m_moving;
    m_stillKey = key;
    lock.unlock();
    fontCache.FreeEvicted();
    TextRunCache::Instance().DropUnused();
    return Deliver(kept, changed, bWhole);
}

std::optional<QRegion> FrameComposer::Deliver(QImage& kept, const QRegion& changed, bool bWhole)
{
    if (bWhole) {
        bool bHoldsKey = m_bStillHoldsKey;
        for (const QRect& area : m_moving) bHoldsKey = bHoldsKey || HoldsColour(m_frame, kTransparentKey, area);
        const bool bCopied = bHoldsKey ? KeyCopy(kept, m_frame) : Fit(kept, m_frame.size());
        if (!bCopied) {
            m_stillKey.reset();
            return std::nullopt;
        }
        if (!bHoldsKey) CopyArea(kept, m_frame, m_frame.rect());
        return QRegion(m_frame.rect());
    }
    // Outside the changed part the frame is as it was, so the kept image already holds what
    // the copy by the key would leave there. Within it, only the pixels that differ go to
    // the screen: a new second mostly changes a digit or two.
    QRegion differing;
    for (const QRect& area : changed) {
        const QRect box = DifferingBox(kept, m_frame, area);
        if (box.isEmpty()) continue;
        KeyCopyArea(kept, m_frame, box);
        differing += box;
    }
    return differing;
}
