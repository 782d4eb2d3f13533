#include "sound_clip.h"

std::size_t SoundClip::BytesPerFrame() const
{
    std::size_t sample = 2;
    switch (format) {
    case Format::U8: sample = 1; break;
    case Format::S16LE: sample = 2; break;
    case Format::S24LE: sample = 3; break;
    case Format::S32LE:
    case Format::F32LE: sample = 4; break;
    }
    return sample * static_cast<std::size_t>(nChannels);
}
