#include "picture_letterbox.h"

#include <algorithm>
#include <cstdint>

#include "draw/image_scale.h"

namespace {

// Premultiplied source over an opaque pixel, byte by byte.
std::uint32_t Over(std::uint32_t source, std::uint32_t below)
{
    const std::uint32_t keep = 255 - (source >> 24);
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t s = (source >> shift) & 0xFFu;
        const std::uint32_t b = (below >> shift) & 0xFFu;
        out |= std::min<std::uint32_t>(s + (b * keep + 127) / 255, 0xFFu) << shift;
    }
    return out;
}

}  // namespace

SIZE FittedSize(int pictureWidth, int pictureHeight, int width, int height)
{
    const std::int64_t acrossAtFullHeight = static_cast<std::int64_t>(height) * pictureWidth / pictureHeight;
    SIZE size{};
    if (acrossAtFullHeight <= width) {
        size.cx = static_cast<int>(acrossAtFullHeight);
        size.cy = height;
    } else {
        size.cx = width;
        size.cy = static_cast<int>(static_cast<std::int64_t>(width) * pictureHeight / pictureWidth);
    }
    size.cx = std::max<int>(size.cx, 1);
    size.cy = std::max<int>(size.cy, 1);
    return size;
}

Image32 LetterboxImage(const Image32& picture, int width, int height, COLORREF background)
{
    Image32 canvas(width, height);
    canvas.Fill(0xFF000000u | PixelRgb(background));
    if (canvas.IsNull() || picture.IsNull()) return canvas;
    const SIZE fitted = FittedSize(picture.Width(), picture.Height(), width, height);
    const Image32 scaled = ScalePicture(picture, fitted.cx, fitted.cy);
    const int left = (width - scaled.Width()) / 2;
    const int top = (height - scaled.Height()) / 2;
    for (int y = 0; y < scaled.Height(); ++y) {
        const std::uint32_t* from = scaled.Line(y);
        std::uint32_t* to = canvas.Line(top + y) + left;
        for (int x = 0; x < scaled.Width(); ++x) {
            to[x] = scaled.HasAlpha() ? Over(from[x], to[x]) : from[x];
        }
    }
    return canvas;
}
