#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw/image32.h"

// A picture to send: the bytes as they go on the wire and what they decode to, turned
// upright as its EXIF note says.
struct Picture {
    std::vector<std::uint8_t> bytes;
    Image32 image;
};

// Reads a picture from a regular file, or from standard input for "-", and decodes it
// with the same decoders the display has. A picture smaller than the display's least
// attachment gets zero bytes after its end, which every picture format ignores; the
// padded bytes are what is decoded, so what is checked is what is sent. Reads at most
// the largest frame a display accepts. On failure returns nothing with a one-line reason.
std::optional<Picture> LoadPicture(const std::string& path, std::string& error);

// A raw attachment: any bytes of a readable regular file or standard input.
std::optional<std::vector<std::uint8_t>> LoadFileBytes(const std::string& path, std::string& error);
