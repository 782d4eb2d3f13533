#include "picture_samples.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>

namespace {

std::vector<std::uint8_t> BytesOf(const QByteArray& bytes)
{
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

std::vector<std::uint8_t> TwoToneMonoPng(QSize size, QRgb top, QRgb bottom)
{
    QImage picture(size, QImage::Format_Mono);
    picture.setColorTable({top, bottom});
    picture.fill(1);
    for (int y = 0; y < size.height() / 2; ++y) std::fill_n(picture.scanLine(y), picture.bytesPerLine(), 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return BytesOf(bytes);
}

QImage DetailedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int fine = ((x * 7) ^ (y * 13)) & 63;
            line[x] = qRgb((x * 255 / width + fine) & 255, (y * 255 / height + fine) & 255, (x + y + fine) & 255);
        }
    }
    return picture;
}

QImage GradientPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = qRgb(x * 255 / width, y * 255 / height, 128);
    }
    return picture;
}

std::vector<std::uint8_t> JpegBytes(const QImage& picture, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    writer.write(picture);
    return BytesOf(bytes);
}

std::vector<std::uint8_t> ManyScanJpeg(const QImage& picture, int extra)
{
    std::vector<std::uint8_t> bytes = JpegBytes(picture, true);
    // Entropy-coded data stuffs every FF with 00, so the last FF DA starts the last scan,
    // which runs up to the closing FF D9.
    const std::vector<std::uint8_t> sos{0xFF, 0xDA};
    const auto last = std::find_end(bytes.begin(), bytes.end() - 2, sos.begin(), sos.end());
    const std::vector<std::uint8_t> scan(last, bytes.end() - 2);
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end() - 2);
    for (int i = 0; i < extra; ++i) out.insert(out.end(), scan.begin(), scan.end());
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}
