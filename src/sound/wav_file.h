#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/sound_clip.h"

// The largest WAV file taken: a bell of a few seconds is far smaller, and the whole clip
// stays in memory for the life of the program.
inline constexpr std::size_t kMaxWavBytes = 16 * 1024 * 1024;

// A RIFF/WAVE file: PCM of 8, 16, 24 or 32 bits or 32-bit float (also in the extensible
// form), 1 to 8 channels, 8 000 to 192 000 frames a second. Chunks it does not know are
// skipped. False, with a reason for the user in strError, for anything else.
bool ParseWav(const std::vector<std::uint8_t>& file, SoundClip& clip, std::string& strError);
// Reads the file (at most kMaxWavBytes) and parses it.
bool LoadWavFile(const std::string& strPath, SoundClip& clip, std::string& strError);
