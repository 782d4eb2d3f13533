#pragma once
#include "sound/sound_output.h"

// Plays through the system's default wave output (waveOut, the wave mapper). A device is
// opened for each sound and closed after it, so at rest the display holds none. The
// whole clip is queued at once; the player's thread looks for the end or a stop every
// 50 ms, and a stop silences it at once.
class WaveOutOutput : public SoundOutput {
public:
    bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError) override;
};
