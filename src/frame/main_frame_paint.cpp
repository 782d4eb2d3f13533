#include <QBackingStore>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include "display/compose_frame.h"
#include "frame/main_frame.h"
#include "frame/snapshot_writer.h"

void CMainFrame::paintEvent(QPaintEvent* event)
{
    OnPaint(event->region());
}

namespace {

const QImage* StoreImage(QBackingStore* store)
{
    QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
    return device != nullptr && device->devType() == QInternal::Image ? static_cast<const QImage*>(device) : nullptr;
}

}  // namespace

const QImage* CMainFrame::ShownPicture() const
{
    // Only where the store's image is known to stay put and hold the last picture between
    // repaints; elsewhere (a Wayland store may not have a buffer yet, or swap buffers)
    // the composer does without it and repaints whole parts.
    static const bool bReadable = QGuiApplication::platformName() == QLatin1String("xcb") ||
                                  QGuiApplication::platformName() == QLatin1String("offscreen");
    return bReadable ? StoreImage(backingStore()) : nullptr;
}

QImage CMainFrame::ScreenImage(const QRect& area) const
{
    const QImage* shown = StoreImage(backingStore());
    if (shown == nullptr) return QImage();
    return shown->copy(area.isNull() ? QRect(QPoint(0, 0), size()) : area).convertToFormat(QImage::Format_RGB32);
}

std::optional<QRegion> CMainFrame::ComposeIfDue(const QImage* pShown)
{
    // The composition is left out when nothing it depends on has changed since the
    // picture shown was made: the screen already holds what it would give.
    const ScreenState state = CurrentScreenState();
    const FrameKey key = CurrentFrameKey(m_pages, size(), state);
    if (m_shownKey && *m_shownKey == key) return QRegion();
    const std::optional<QRegion> changed = m_composer.Compose(size(), m_pages, state, pShown);
    if (!changed) {
        m_shownKey.reset();
        return std::nullopt;
    }
    m_shownKey = key;
    return changed;
}

void CMainFrame::OnPaint(const QRegion& region)
{
    // The screen's own picture (the backing store) is kept between repaints; each repaint
    // puts on it only what was composed afresh, whole pictures, never a half-drawn one.
    // A page that came in since the last tick is composed now, so it shows at once.
    ComposeIfDue(nullptr);
    if (!region.subtracted(m_composer.Pending()).isEmpty()) {
        // Asked for more than was composed: the window was shown, resized or given a new
        // store, and what that part holds is not the picture shown before.
        m_shownKey.reset();
        m_composer.Invalidate();
        if (!ComposeIfDue(nullptr)) return;
    }
    {
        QPainter painter(this);
        m_composer.Paint(painter, region);
    }
    // A whole composition asked for by only part of the screen: the rest follows.
    if (const QRegion rest = m_composer.Pending(); !rest.isEmpty()) update(rest);
    m_bSnapshotOwed = m_pSnapshot != nullptr;
    OfferSnapshot();
}

void CMainFrame::OfferSnapshot()
{
    if (!m_bSnapshotOwed || !m_pSnapshot->IsDue()) return;
    m_pSnapshot->Offer(ScreenImage());
    m_bSnapshotOwed = false;
}
