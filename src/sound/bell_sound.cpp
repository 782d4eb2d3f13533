#include "bell_sound.h"

#include <iostream>

#include "os/file_path.h"
#include "sound/chime.h"
#include "sound/sound_output.h"
#include "sound/sound_player.h"
#include "sound/wav_file.h"

bool MakeBellPlayer(const std::string& strSound, std::unique_ptr<CSoundPlayer>& pPlayer, std::string& strError,
                    std::function<void(const std::string&)> rung)
{
    SoundClip clip;
    if (strSound == "bell") {
        clip = SynthesiseChime();
    } else if (!LoadWavFile(strSound, clip, strError)) {
        return false;
    }
    clip.name = strSound == "bell" ? strSound : Utf8FromPath(PathFromUtf8(strSound).filename());
    pPlayer = std::make_unique<CSoundPlayer>(std::move(clip), MakeSoundOutput(),
                                             [](const std::string& line) {
                                                 std::cerr << ("pavlune: " + line + "\n") << std::flush;
                                             },
                                             std::move(rung));
    return true;
}
