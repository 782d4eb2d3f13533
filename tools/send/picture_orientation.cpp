#include "picture_orientation.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kSOI = 0xD8;
constexpr std::uint8_t kEOI = 0xD9;
constexpr std::uint8_t kSOS = 0xDA;
constexpr std::uint8_t kAPP1 = 0xE1;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::string_view kExifHeader{"Exif\0\0", 6};

// The TIFF structure inside an EXIF segment, in the byte order its header names.
class Tiff {
public:
    explicit Tiff(std::span<const std::uint8_t> bytes) : m_bytes(bytes)
    {
        m_valid = bytes.size() >= 8 && ((bytes[0] == 'I' && bytes[1] == 'I') || (bytes[0] == 'M' && bytes[1] == 'M'));
        m_littleEndian = m_valid && bytes[0] == 'I';
        m_valid = m_valid && Read(2, 2) == 42;
    }

    int Orientation() const
    {
        if (!m_valid) return 1;
        const std::uint32_t directory = Read(4, 4);
        if (directory > m_bytes.size() || m_bytes.size() - directory < 2) return 1;
        const std::uint32_t entries = Read(directory, 2);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::size_t entry = directory + 2 + static_cast<std::size_t>(i) * 12;
            if (entry + 12 > m_bytes.size()) return 1;
            if (Read(entry, 2) == kOrientationTag && Read(entry + 2, 2) == kShortType) {
                const std::uint32_t value = Read(entry + 8, 2);
                return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
            }
        }
        return 1;
    }

private:
    // The unsigned number of `size` bytes at `at`; the caller has checked the bounds.
    std::uint32_t Read(std::size_t at, int size) const
    {
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i) {
            const std::uint32_t byte = m_bytes[at + static_cast<std::size_t>(m_littleEndian ? size - 1 - i : i)];
            value = (value << 8) | byte;
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    bool m_valid = false;
    bool m_littleEndian = false;
};

}  // namespace

int JpegOrientation(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4 || bytes[0] != kMarker || bytes[1] != kSOI) return 1;
    // The segments before the first scan; EXIF is one of the first.
    std::size_t at = 2;
    while (at + 4 <= bytes.size() && bytes[at] == kMarker) {
        const std::uint8_t marker = bytes[at + 1];
        if (marker == kMarker) {
            ++at;
            continue;
        }
        if (marker == kSOS || marker == kEOI) break;
        const std::size_t length = (static_cast<std::size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2 || at + 2 + length > bytes.size()) break;
        const std::span<const std::uint8_t> body = bytes.subspan(at + 4, length - 2);
        if (marker == kAPP1 && body.size() > kExifHeader.size() &&
            std::memcmp(body.data(), kExifHeader.data(), kExifHeader.size()) == 0) {
            return Tiff(body.subspan(kExifHeader.size())).Orientation();
        }
        at += 2 + length;
    }
    return 1;
}

Image32 Upright(const Image32& stored, int orientation)
{
    if (orientation <= 1 || orientation > 8 || stored.IsNull()) return stored;
    const int w = stored.Width();
    const int h = stored.Height();
    // 5 to 8 lie on their side: the stored rows become columns.
    const bool sideways = orientation >= 5;
    Image32 upright(sideways ? h : w, sideways ? w : h, stored.HasAlpha());
    for (int y = 0; y < upright.Height(); ++y) {
        for (int x = 0; x < upright.Width(); ++x) {
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = h - 1 - x; break;
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            case 8: sx = w - 1 - y; sy = x; break;
            }
            upright.Line(y)[x] = stored.Pixel(sx, sy);
        }
    }
    return upright;
}
