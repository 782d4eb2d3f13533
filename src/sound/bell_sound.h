#pragma once
#include <functional>
#include <memory>
#include <string>

class CSoundPlayer;

// The player for --sound: "bell" is the built-in chime, anything else a WAV file read now,
// so a wrong file is reported at start rather than at the end of the first round. Plays
// through the platform's sound output; a missing sound device is one line on standard error when a ring
// first fails, and the display goes on. False, with the reason, for a file that cannot
// be used. `rung` hears of each sound as it goes to the output.
bool MakeBellPlayer(const std::string& strSound, std::unique_ptr<CSoundPlayer>& pPlayer, std::string& strError,
                    std::function<void(const std::string&)> rung = {});
