#include "jpeg_scans.h"

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kSOI = 0xD8;
constexpr std::uint8_t kEOI = 0xD9;
constexpr std::uint8_t kSOS = 0xDA;
constexpr std::uint8_t kTEM = 0x01;

// Markers that stand alone, without a length: TEM and the restart markers RST0..RST7.
bool StandsAlone(std::uint8_t marker) { return marker == kTEM || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

int CountJpegScans(const std::uint8_t* data, std::size_t length)
{
    if (data == nullptr || length < 2 || data[0] != kMarker || data[1] != kSOI) return 0;
    int scans = 0;
    std::size_t i = 2;
    while (i + 1 < length) {
        if (data[i] != kMarker) {
            // Entropy-coded data after a scan header, or garbage between segments.
            ++i;
            continue;
        }
        const std::uint8_t marker = data[i + 1];
        // FF 00 is a stuffed data byte and FF FF a fill byte: neither starts a segment.
        if (marker == 0x00 || marker == kMarker || StandsAlone(marker)) {
            i += marker == kMarker ? 1 : 2;
            continue;
        }
        if (marker == kEOI) break;
        if (i + 3 >= length) break;
        const std::size_t segment = (static_cast<std::size_t>(data[i + 2]) << 8) | data[i + 3];
        if (marker == kSOS) ++scans;
        // A segment's length counts its own two length bytes; skip the whole of it.
        i += 2 + (segment < 2 ? 2 : segment);
    }
    return scans;
}

bool IsCostlyJpeg(const std::uint8_t* data, std::size_t length)
{
    return CountJpegScans(data, length) > kMaxJpegScans;
}
