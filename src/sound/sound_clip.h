#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A sound in memory, interleaved samples in one of the layouts PulseAudio plays as they
// are, so no conversion happens when it rings.
struct SoundClip {
    enum class Format { U8, S16LE, S24LE, S32LE, F32LE };
    Format format = Format::S16LE;
    int nRate = 44100;
    int nChannels = 1;
    std::vector<std::uint8_t> bytes;
    // What the log calls it: the file's name, or "bell" for the built-in chime.
    std::string name;

    std::size_t BytesPerFrame() const;
    std::size_t BytesPerSecond() const { return BytesPerFrame() * static_cast<std::size_t>(nRate); }
    std::size_t Frames() const { return bytes.size() / BytesPerFrame(); }
};
