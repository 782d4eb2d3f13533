#include <QPaintEvent>
#include <QPainter>

#include "display/compose_frame.h"
#include "frame/main_frame.h"
#include "frame/snapshot_writer.h"

void CMainFrame::paintEvent(QPaintEvent* event)
{
    OnPaint(event->region());
}

std::optional<QRegion> CMainFrame::ComposeIfDue()
{
    // The composition is left out when nothing it depends on has changed since the image
    // was made: the image already holds what it would give.
    const ScreenState state = CurrentScreenState();
    const FrameKey key = CurrentFrameKey(m_pages, size(), state);
    if (m_shownKey && *m_shownKey == key) return QRegion();
    const std::optional<QRegion> changed = m_composer.Compose(m_imgScreen, size(), m_pages, state);
    if (!changed) {
        m_shownKey.reset();
        return std::nullopt;
    }
    m_shownKey = key;
    if (m_pSnapshot) m_pSnapshot->Offer(m_imgScreen);
    return changed;
}

void CMainFrame::OnPaint(const QRegion& region)
{
    // The picture is composed off screen onto the kept image; the screen then gets the
    // asked part of that image in one copy, never a half-drawn picture.
    const std::optional<QRegion> changed = ComposeIfDue();
    if (!changed) return;
    const QRegion beyond = changed->subtracted(region);
    if (!beyond.isEmpty()) update(beyond);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_imgScreen);
}
