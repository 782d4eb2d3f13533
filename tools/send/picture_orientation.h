#pragma once
#include <cstdint>
#include <span>

#include "draw/image32.h"

// A phone stores a photo taken upright as the camera saw it, sideways, with an EXIF note
// of how to turn it (the orientation, 1 to 8). The display's decoders leave the pixels as
// stored, so pavlune-send turns a picture it fits before it sends it.

// The EXIF orientation of a JPEG; 1 (as stored) for anything else or any unreadable note.
int JpegOrientation(std::span<const std::uint8_t> bytes);

// The picture as the orientation says it is to be seen.
Image32 Upright(const Image32& stored, int orientation);
