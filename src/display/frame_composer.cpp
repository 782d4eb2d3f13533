#include "frame_composer.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "display/font_cache.h"
#include "display/round_page.h"
#include "display/screen_pages.h"
#include "display/solid_brush.h"
#include "platform/gdi_text_runs.h"
#include "platform/heap_policy.h"
#include "platform/lang_index.h"
#include "platform/mapped_image.h"

namespace {

constexpr std::uint32_t kKeyPixel = PixelRgb(kTransparentKey);

// A canvas of at least the size, reused while it is big enough.
bool Fit(QImage& canvas, QSize size, bool bExact)
{
    const bool bFits = bExact ? canvas.size() == size
                              : canvas.width() >= size.width() && canvas.height() >= size.height();
    if (!bFits) canvas = MappedImage(bExact ? size : size.expandedTo(canvas.size()), QImage::Format_RGB32);
    return !canvas.isNull();
}

bool IsComparable(const QImage* pShown, QSize client)
{
    if (pShown == nullptr || pShown->size() != client) return false;
    const QImage::Format format = pShown->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// Whether the screen changes where the composed pixel `p` goes over the shown `s`: a
// pixel of the key colour leaves it as it is.
bool Changes(std::uint32_t p, std::uint32_t s)
{
    return ((p ^ s) & kPixelRgb) != 0 && (p & kPixelRgb) != kKeyPixel;
}

// The first pixel from `from` on, stepping by `step`, at which the composed line changes
// the shown one, or `to` when none does before it. Runs of equal pixels are passed over
// with memcmp, which is far faster than a loop that stops.
int FirstChange(const std::uint32_t* p, const std::uint32_t* s, int from, int to, int step)
{
    constexpr int kBlock = 32;
    int x = from;
    while (x != to) {
        const int n = std::min(kBlock, (to - x) * step);
        const int lo = step > 0 ? x : x - n + 1;
        if (std::memcmp(p + lo, s + lo, static_cast<std::size_t>(n) * sizeof(std::uint32_t)) == 0) {
            x += n * step;
            continue;
        }
        for (int i = 0; i < n; ++i, x += step) {
            if (Changes(p[x], s[x])) return x;
        }
    }
    return to;
}

// The smallest rectangle of the screen holding every pixel of the area that the canvas,
// placed at `origin`, would change.
QRect ChangedBox(const QImage& shown, const QImage& canvas, QPoint origin, QRect area)
{
    area &= shown.rect() & canvas.rect().translated(origin);
    int top = -1;
    int bottom = -1;
    int left = area.width();
    int right = -1;
    const int n = area.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* s = reinterpret_cast<const std::uint32_t*>(shown.constScanLine(y)) + area.left();
        const auto* p = reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(y - origin.y())) +
                        (area.left() - origin.x());
        bool bChanged = false;
        if (right < 0) {
            // No change yet: the whole line is searched from both ends.
            left = FirstChange(p, s, 0, n, 1);
            bChanged = left < n;
            if (bChanged) right = FirstChange(p, s, n - 1, left - 1, -1);
        } else {
            // Only what lies outside the box found so far can widen it; within it, one
            // change is enough to move the bottom down.
            const int first = FirstChange(p, s, 0, left, 1);
            const int last = FirstChange(p, s, n - 1, right, -1);
            bChanged = first < left || last > right || FirstChange(p, s, left, right + 1, 1) <= right;
            left = std::min(left, first);
            if (last > right) right = last;
        }
        if (!bChanged) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(area.left() + left, top), QPoint(area.left() + right, bottom));
}

// The part of the canvas with the key colour made transparent, to be drawn over the screen.
QImage Keyed(const QImage& canvas, const QRect& source)
{
    QImage part = canvas.copy(source);
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) line[x] = (line[x] & kPixelRgb) == kKeyPixel ? 0u : line[x] | 0xFF000000u;
    }
    part.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return part;
}

// The rectangles of the region, with those that overlap or touch joined into the box
// around them: each becomes one composed part.
std::vector<QRect> Parts(const QRegion& region)
{
    std::vector<QRect> parts(region.begin(), region.end());
    for (bool bJoined = true; bJoined;) {
        bJoined = false;
        for (std::size_t i = 0; i < parts.size() && !bJoined; ++i) {
            for (std::size_t j = i + 1; j < parts.size(); ++j) {
                if (parts[i].adjusted(-1, -1, 1, 1).intersects(parts[j])) {
                    parts[i] |= parts[j];
                    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(j));
                    bJoined = true;
                    break;
                }
            }
        }
    }
    return parts;
}

void DropUnusedCaches(FontCache& fontCache)
{
    fontCache.FreeEvicted();
    TextRunCache::Instance().DropUnused();
}

}  // namespace

std::optional<QRegion> FrameComposer::Compose(QSize client, ScreenPageList& pages, const ScreenState& state,
                                              const QImage* pShown)
{
    if (client.isEmpty()) return std::nullopt;
    std::unique_lock<std::mutex> lock(pages.Mutex());
    const ScreenPage* page = pages.CurrentPage();
    if (page == nullptr || !page->m_bRoundPage) {
        lock.unlock();
        m_stillKey.reset();
        return ComposeWhole(client, pages, state, pShown);
    }
    const StillKey key{FrameKey{pages.Generation(), 0.0, client, WindowLangIndex(), state}, page};
    // A part composed while an earlier one still waits would not cover all of that one;
    // a whole composition replaces it.
    const bool bWhole = !m_stillKey || m_stillKey->page != page || !(m_stillKey->frame == key.frame) ||
                        !m_pending.empty();
    std::optional<QRegion> changed;
    if (!bWhole) changed = ComposeMoving(*page, client, state, pShown);
    if (!changed) {
        m_stillKey.reset();
        m_pending.clear();
        if (!Fit(m_whole, client, true)) return std::nullopt;
        FontCache& fontCache = FontCache::Instance();
        const RECT rect{0, 0, client.width(), client.height()};
        {
            CDC dc(m_whole);
            dc.FillRect(rect, *GetSolidBrush(kScreenBackground));
            DrawRoundPageStill(dc, fontCache, rect, *page);
            m_moving = DrawRoundPageMoving(dc, fontCache, rect, *page, state.timeSignals);
        }
        lock.unlock();
        DropUnusedCaches(fontCache);
        changed = Offer(m_whole, QPoint(0, 0), m_whole.rect(), IsComparable(pShown, client) ? pShown : nullptr);
    }
    m_stillKey = key;
    return changed;
}

std::optional<QRegion> FrameComposer::ComposeWhole(QSize client, ScreenPageList& pages, const ScreenState& state,
                                                   const QImage* pShown)
{
    m_pending.clear();
    m_patches.clear();
    m_moving = QRegion();
    if (!Fit(m_whole, client, true)) return std::nullopt;
    {
        // DrawScreen's first step fills every pixel, so the canvas needs no clearing here.
        CDC dc(m_whole);
        DrawScreen(dc, RECT{0, 0, client.width(), client.height()}, pages, state);
    }
    return Offer(m_whole, QPoint(0, 0), m_whole.rect(), IsComparable(pShown, client) ? pShown : nullptr);
}

// With the page list's lock held. Nothing when the parts could not be composed or the
// second turned while they were, so the caller composes whole.
std::optional<QRegion> FrameComposer::ComposeMoving(const ScreenPage& page, QSize client, const ScreenState& state,
                                                    const QImage* pShown)
{
    FontCache& fontCache = FontCache::Instance();
    const RECT rect{0, 0, client.width(), client.height()};
    QRegion reach = m_moving;
    {
        QImage measure(1, 1, QImage::Format_RGB32);
        CDC dc(measure);
        reach += RoundPageMovingReach(dc, fontCache, rect, page);
    }
    const std::vector<QRect> parts = Parts(reach);
    if (m_patches.size() < parts.size()) m_patches.resize(parts.size());
    QRegion moving;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!Fit(m_patches[i], parts[i].size(), false)) return std::nullopt;
        CDC dc(m_patches[i], parts[i].topLeft());
        dc.FillRect(rect, *GetSolidBrush(kScreenBackground));
        DrawRoundPageStill(dc, fontCache, rect, page);
        moving = DrawRoundPageMoving(dc, fontCache, rect, page, state.timeSignals);
    }
    if (!moving.subtracted(reach).isEmpty()) return std::nullopt;
    m_moving = moving;
    DropUnusedCaches(fontCache);
    const QImage* pComparable = IsComparable(pShown, client) ? pShown : nullptr;
    QRegion changed;
    for (std::size_t i = 0; i < parts.size(); ++i) changed += Offer(m_patches[i], parts[i].topLeft(), parts[i], pComparable);
    return changed;
}

QRegion FrameComposer::Offer(const QImage& canvas, QPoint origin, const QRect& area, const QImage* pShown)
{
    const QRegion region = pShown != nullptr ? QRegion(ChangedBox(*pShown, canvas, origin, area)) : QRegion(area);
    if (!region.isEmpty()) m_pending.push_back(Piece{&canvas, origin, region});
    return region;
}

void FrameComposer::Invalidate()
{
    m_stillKey.reset();
    m_pending.clear();
}

QRegion FrameComposer::Pending() const
{
    QRegion pending;
    for (const Piece& piece : m_pending) pending += piece.region;
    return pending;
}

void FrameComposer::Paint(QPainter& painter, const QRegion& area)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    for (Piece& piece : m_pending) {
        for (const QRect& target : piece.region.intersected(area)) {
            const QRect source = target.translated(-piece.origin);
            if (HoldsColour(*piece.canvas, kTransparentKey, source)) {
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                painter.drawImage(target.topLeft(), Keyed(*piece.canvas, source));
            } else {
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(target.topLeft(), *piece.canvas, source);
            }
        }
        piece.region -= area;
    }
    painter.setCompositionMode(mode);
    std::erase_if(m_pending, [](const Piece& piece) { return piece.region.isEmpty(); });
}

void FrameComposer::Settle()
{
    // Only a round page (whose whole composition leaves a still key) lets it go; other
    // pages compose whole again every second.
    if (!m_pending.empty() || m_whole.isNull() || !m_stillKey) return;
    m_whole = QImage();
    ReturnFreeHeap();
}
