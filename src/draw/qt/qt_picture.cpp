#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

#include <cstring>

#include "draw/picture_codec.h"
#include "draw/qt/picture_shrink.h"
#include "draw/qt/qt_dc.h"

namespace {

constexpr qint64 kAllocationLimitBytes = static_cast<qint64>(kPictureAllocationLimitMiB) * 1024 * 1024;

// Bytes the decoded picture would take at four bytes a pixel.
bool WithinAllocationLimit(const QSize& size)
{
    if (!size.isValid()) return true;  // not every format announces its size; the reader's own cap still holds
    return static_cast<qint64>(size.width()) * size.height() * 4 <= kAllocationLimitBytes;
}

// The largest size within `fitTo`, each direction on its own: the picture is stretched
// to the screen without keeping its aspect ratio, so nothing finer could ever show.
QSize Fitted(QSize size, SIZE fitTo)
{
    if (fitTo.cx <= 0 || fitTo.cy <= 0 || !size.isValid()) return size;
    return size.boundedTo(QSize(fitTo.cx, fitTo.cy));
}

}  // namespace

std::optional<Image32> DecodePicture(std::span<const std::uint8_t> bytes, SIZE fitTo)
{
    QImageReader::setAllocationLimit(kPictureAllocationLimitMiB);
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!WithinAllocationLimit(reader.size())) return std::nullopt;
    // JPEG's decoder makes the picture smaller while it decodes (reduced-size DCT), so
    // it never holds it whole; the others decode it whole, and it is shrunk at once. Qt's
    // own scaling for those widens a 1-bit picture to 32 bits at full size first, and
    // loses a 1-bit picture's colours.
    const QSize announced = Fitted(reader.size(), fitTo);
    if (announced != reader.size() && reader.format() == "jpeg") reader.setScaledSize(announced);

    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return std::nullopt;
    if (const QSize fitted = Fitted(decoded.size(), fitTo); fitted != decoded.size()) {
        decoded = ShrinkPicture(decoded, fitted);
        if (decoded.isNull()) return std::nullopt;
    }
    const bool bAlpha = decoded.hasAlphaChannel();
    decoded.convertTo(bAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    Image32 image(decoded.width(), decoded.height(), bAlpha);
    if (image.IsNull()) return std::nullopt;
    for (int y = 0; y < image.Height(); ++y) {
        std::memcpy(image.Line(y), decoded.constScanLine(y), static_cast<std::size_t>(image.Width()) * 4);
    }
    return image;
}

bool EncodePng(const Image32& image, std::vector<std::uint8_t>& png)
{
    if (image.IsNull()) return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // An image without alpha is written as RGB: the top byte carries nothing.
    const QImage source = SharedQImage(image);
    if (!QImageWriter(&buffer, "png").write(source)) return false;
    png.assign(bytes.begin(), bytes.end());
    return true;
}
