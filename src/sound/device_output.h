#pragma once
#include "sound/sound_output.h"

// Plays on the machine's sound device. A stream is opened for each sound and closed after
// it, so at rest the display holds no device and costs the sound system nothing, and a
// stop is heard within a tenth of a second.
// device_output_posix.cpp: the PulseAudio server of the session (PipeWire's one
// included), through the simple API, written in slices of about 50 ms against a short
// server buffer. device_output_win32.cpp: waveOut's wave mapper; the whole clip is queued
// at once and the player's thread looks for the end or a stop every 50 ms.
class DeviceOutput : public SoundOutput {
public:
    bool Play(const SoundClip& clip, const std::atomic<bool>& stop, std::string& strError) override;
};
