#pragma once
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <optional>
#include <vector>

#include "display/compose_frame.h"

class QPainter;
class ScreenPage;
class ScreenPageList;

// The window's composition. The screen keeps its own picture (the window's backing
// store), so this holds only what is on its way there: a whole composition when the
// page, the list, the size or the window's state changed, otherwise just the parts of a
// round page that a new second touches (the clock, the time bar), each composed whole,
// background and titles included, in a picture the size of that part. A running round
// page thus holds no screen-sized picture; another page keeps one to compose into again.
// Pixels of the key colour leave the screen as it was.
// Owned and used by the window thread only.
class FrameComposer {
public:
    // Composes the picture of now, to wait for Paint, and returns the part of the screen
    // it changes: the whole client area after a whole composition, otherwise the parts
    // the moving layer left and reaches. With `pShown`, the screen's picture as it stands
    // (client size, 32 bits a pixel), only where the new one differs from it (possibly
    // nowhere). Nothing for an empty client area or a picture that could not be made.
    // Takes the page list's lock as DrawScreen does and advances the page rotation.
    std::optional<QRegion> Compose(QSize client, ScreenPageList& pages, const ScreenState& state,
                                   const QImage* pShown);
    // What the screen shows is no longer known: the next composition is whole, and what
    // waits is dropped.
    void Invalidate();
    // The part of the screen with a picture waiting for Paint.
    QRegion Pending() const;
    // Puts what waits within `area` on the screen through the painter; what waits
    // outside it keeps waiting.
    void Paint(QPainter& painter, const QRegion& area);
    // Between repaints, so that no repaint waits for it: once a round page's whole
    // composition is on the screen, its seconds need only small pictures, so the
    // screen-sized one goes, and what building the page left free in the heap with it.
    void Settle();

private:
    // What the round page's last whole composition was made for; none while another
    // page shows.
    struct StillKey {
        FrameKey frame;
        const ScreenPage* page = nullptr;
    };
    // A composed picture and the part of the screen waiting for it.
    struct Piece {
        const QImage* canvas;
        QPoint origin;  // where the canvas's top left pixel goes on the screen
        QRegion region;
    };

    std::optional<QRegion> ComposeWhole(QSize client, ScreenPageList& pages, const ScreenState& state,
                                        const QImage* pShown);
    std::optional<QRegion> ComposeMoving(const ScreenPage& page, QSize client, const ScreenState& state,
                                         const QImage* pShown);
    QRegion Offer(const QImage& canvas, QPoint origin, const QRect& area, const QImage* pShown);

    std::optional<StillKey> m_stillKey;
    // Dropped by Settle while a round page runs.
    QImage m_whole;
    std::vector<QImage> m_patches;
    // Where the moving layer was last drawn.
    QRegion m_moving;
    std::vector<Piece> m_pending;
};
