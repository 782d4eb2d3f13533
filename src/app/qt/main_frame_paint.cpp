#include <QBackingStore>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>

#include "app/qt/main_frame.h"
#include "draw/qt/qt_dc.h"

namespace {

const QImage* StoreImage(QBackingStore* store)
{
    QPaintDevice* device = store != nullptr ? store->paintDevice() : nullptr;
    return device != nullptr && device->devType() == QInternal::Image ? static_cast<const QImage*>(device) : nullptr;
}

// Only where the store's image is known to stay put and hold the last picture between
// repaints; a Wayland store may not have a buffer yet, or swap buffers.
bool StoreKeptBetweenRepaints()
{
    static const bool bKept = QGuiApplication::platformName() == QLatin1String("xcb") ||
                              QGuiApplication::platformName() == QLatin1String("offscreen");
    return bKept;
}


}  // namespace

void CMainFrame::paintEvent(QPaintEvent* event)
{
    OnPaint(event->region());
}

QImage CMainFrame::ScreenImage(const QRect& area) const
{
    const QImage* shown = StoreImage(backingStore());
    if (shown == nullptr) return QImage();
    return shown->copy(area.isNull() ? QRect(QPoint(0, 0), size()) : area).convertToFormat(QImage::Format_RGB32);
}

void CMainFrame::ShownPicture(Image32& picture) const
{
    const QImage* store = isVisible() ? StoreImage(backingStore()) : nullptr;
    if (store == nullptr || store->isNull()) {
        picture = Image32();
        return;
    }
    // The store's lines are copied as they are when they are 32-bit pixels already (the top
    // byte carries nothing in an opaque window); anything else is converted first.
    const bool bAsIs = store->format() == QImage::Format_RGB32 || store->format() == QImage::Format_ARGB32 ||
                       store->format() == QImage::Format_ARGB32_Premultiplied;
    const QImage converted = bAsIs ? QImage() : store->convertToFormat(QImage::Format_RGB32);
    const QImage& lines = bAsIs ? *store : converted;
    picture.Reshape(std::min(width(), lines.width()), std::min(height(), lines.height()));
    for (int y = 0; y < picture.Height(); ++y) {
        std::memcpy(picture.Line(y), lines.constScanLine(y), static_cast<std::size_t>(picture.Width()) * 4);
    }
}

void CMainFrame::InvalidatePart(const RECT& part)
{
    update(part.left, part.top, part.right - part.left, part.bottom - part.top);
}

void CMainFrame::OnPaint(const QRegion& region)
{
    // The screen's own picture (the backing store) is kept between repaints; each repaint
    // draws the screen as last measured, clipped to what it is asked for.
    std::vector<RECT> parts;
    for (const QRect& rc : region) parts.push_back(RECT{rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1});
    {
        QPainter painter(this);
        QtDC dc(painter);
        PaintScreen(dc, parts);
    }
    NoteScreenChanged();
    OfferSnapshot();
}

bool CMainFrame::KeepsPictureBetweenRepaints() const
{
    return StoreKeptBetweenRepaints();
}
