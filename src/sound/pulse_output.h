#pragma once
#include "sound/sound_output.h"

// Plays through the PulseAudio server of the session (PipeWire's one included) with the
// simple API. A stream is opened for each sound and closed after it, so at rest the
// display holds no connection and costs the sound server nothing. Writes go in slices
// of about 50 ms against a short server buffer, so a stop is heard within a tenth of a
// second.
class PulseOutput : public SoundOutput {
public:
    bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError) override;
};
