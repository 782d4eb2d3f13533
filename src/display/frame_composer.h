#pragma once
#include <QImage>
#include <QRegion>
#include <QSize>

#include <optional>

#include "display/compose_frame.h"

class ScreenPage;
class ScreenPageList;

// The window's composition, kept between repaints so that a running round page costs in
// proportion to what moves. The page's still layer (background, picture, titles, the
// bar's band) is composed once and kept; while the page, the list, the size and the
// window's state stay, a new second puts that layer back where the clock and the bar's
// texts were and draws only those again. Every other screen is composed whole, as
// ComposeFrame does. Either way `kept` ends up exactly as ComposeFrame would leave it.
// Owned and used by the window thread only; holds two images of the client size while it
// shows a round page, one otherwise.
class FrameComposer {
public:
    // Brings `kept` up to now and returns the part of it that changed: the whole client
    // area after a whole composition, otherwise the bounding boxes of the pixels that
    // differ (possibly none). Nothing, with `kept` untouched, for an empty client area.
    // Takes the page list's lock as DrawScreen does and advances the page rotation.
    std::optional<QRegion> Compose(QImage& kept, QSize client, ScreenPageList& pages, const ScreenState& state);

private:
    // What the still layer was composed for.
    struct StillKey {
        FrameKey frame;
        const ScreenPage* page = nullptr;
    };

    std::optional<QRegion> Deliver(QImage& kept, const QRegion& changed, bool bWhole);

    std::optional<StillKey> m_stillKey;
    QImage m_still;
    // The still layer with the moving parts drawn on it: the picture of now.
    QImage m_frame;
    // Where the moving parts were drawn on m_frame.
    QRegion m_moving;
    bool m_bStillHoldsKey = false;
};
