#include <QPainter>

#include "display/compose_frame.h"
#include "frame/main_frame.h"
#include "frame/snapshot_writer.h"

void CMainFrame::paintEvent(QPaintEvent*)
{
    OnPaint();
}

void CMainFrame::OnPaint()
{
    // The whole client area is composed off screen and colour-key copied onto the kept
    // image; the screen then gets that image in one copy, never a half-drawn picture.
    // The composition is left out when nothing it depends on has changed since the image
    // was made: the image already holds what it would give.
    const ScreenState state = CurrentScreenState();
    const FrameKey key = CurrentFrameKey(m_pages, size(), state);
    if (!m_shownKey || *m_shownKey != key) {
        if (!ComposeFrame(m_imgScreen, m_imgFrame, size(), m_pages, state)) {
            m_shownKey.reset();
            return;
        }
        m_shownKey = key;
        if (m_pSnapshot) {
            m_pSnapshot->Offer(m_imgScreen);
        }
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_imgScreen);
}
