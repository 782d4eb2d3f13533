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
    const ScreenState state{m_bFullScreen, GetScreenSize(), ServerFooter()};
    if (!ComposeFrame(m_imgScreen, size(), m_pages, state)) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_imgScreen);
    if (m_pSnapshot) {
        m_pSnapshot->Offer(m_imgScreen);
    }
}
