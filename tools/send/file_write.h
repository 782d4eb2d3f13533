#pragma once
#include <cstdint>
#include <span>
#include <string>

// Writes the bytes to a file named in UTF-8: first to a temporary file beside it, then
// renamed over it, so that a reader never finds half a picture and an old file stays
// whole when writing fails. On failure returns false with a one-line reason.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, std::string& error);
