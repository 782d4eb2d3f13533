#include "display_options.h"

#include <iostream>
#include <memory>
#include <string>

#include "core/display_core.h"
#include "net/diag_log.h"
#include "os/user_dirs.h"
#include "sound/bell_sound.h"
#include "sound/sound_player.h"
#include "text/wide_text.h"

bool ApplyDisplayOptions(CDisplayCore& display, const AppOptions& options)
{
    display.SetSnapshotFile(options.strSnapshot);
    std::unique_ptr<CSoundPlayer> pBell;
    if (std::string strError;
        !options.timeSignals.strSound.empty() && !MakeBellPlayer(options.timeSignals.strSound, pBell, strError,
                       [](const std::string& line) { WriteLog(Utf8ToWide(line)); })) {
        std::cerr << "pavlune: --sound: " << strError << std::endl;
        return false;
    }
    display.SetTimeSignals(options.timeSignals, std::move(pBell));
    display.SetPageStateDirectory(StateDirectory(), !options.bNoRestore);
    display.SetListenRules(options.listenRules);
    display.SetRemoteView(options.bRemoteView);
    return true;
}
