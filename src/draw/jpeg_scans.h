#pragma once
#include <cstddef>
#include <cstdint>

// A progressive JPEG is decoded once per scan over the whole picture, so a few hundred
// scans turn a small file into seconds of work. Encoders write at most a dozen or so
// (libjpeg's progressive script has ten); far more than that is never a photo or poster.
inline constexpr int kMaxJpegScans = 64;

// The number of start-of-scan markers of a JPEG stream, found by walking its segments
// (entropy-coded data is skipped, so a thumbnail inside an APP segment does not count).
// Bytes that do not start like a JPEG give 0. Reads each byte at most once.
int CountJpegScans(const std::uint8_t* data, std::size_t length);

// True when the bytes are a JPEG with more scans than kMaxJpegScans: refused undecoded.
bool IsCostlyJpeg(const std::uint8_t* data, std::size_t length);
