#pragma once
#include "sound/sound_clip.h"

// The display's own bell: a two-stroke chime ("ding-dong"), made from decaying
// inharmonic partials as a struck bell sounds, mono 16-bit at 44.1 kHz, about 2.5 s.
// Made by the program itself, so no recorded sample has to be shipped.
SoundClip SynthesiseChime();
