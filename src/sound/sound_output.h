#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "sound/sound_clip.h"

// Where the player sends a sound: the seam between deciding to ring and the audio device.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Plays the whole clip and returns when it has been heard, or soon after `stop` is
    // set. False, with a reason, when it could not be played (no sound device).
    virtual bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError) = 0;
};

// The platform's output: PulseAudio on Linux, waveOut on Windows.
std::unique_ptr<SoundOutput> MakeSoundOutput();
