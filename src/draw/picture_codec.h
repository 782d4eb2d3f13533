#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "draw/gdi_types.h"
#include "draw/image32.h"

// The platform's picture coders, behind one seam: Qt's image readers on Linux, WIC on
// Windows.

// The most memory a decoded picture may take; a picture that announces more is refused
// before its decoding starts.
inline constexpr int kPictureAllocationLimitMiB = 256;

// The picture in the bytes, in any format the platform reads (PNG, JPEG, BMP, GIF and
// more), or nothing when they do not decode within the allocation limit. A picture wider
// or taller than a non-empty `fitTo` comes back at most that wide and tall, each
// direction on its own (it is stretched to the screen anyway), a uniform area keeping
// its exact colour. Any thread.
std::optional<Image32> DecodePicture(std::span<const std::uint8_t> bytes, SIZE fitTo);

// The image as a PNG file's bytes; false when it could not be encoded. Any thread.
bool EncodePng(const Image32& image, std::vector<std::uint8_t>& png);
