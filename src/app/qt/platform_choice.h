#pragma once
#include <string>
#include <vector>

#include "app/qt/display_probe.h"

// Chooses the Qt platform before the application object exists, from -platform (or
// QT_QPA_PLATFORM) and the display servers that DISPLAY, -display and WAYLAND_DISPLAY
// name. A named server that cannot be reached is an error, so that a service manager
// starts the program again later instead of it running unseen; only where no server is
// named at all does the program run on the offscreen platform (its network side, and
// --snapshot).
struct PlatformChoice {
    // Empty when Qt may start; else one line naming the server that is not there.
    std::string strError;
    // The server that answered, to be held until the application object exists.
    DisplayConnection connection;
};
PlatformChoice PrepareQtPlatform(const std::vector<std::string>& qtArgs);

// After the application object exists: says on standard error when the offscreen
// platform was taken because no server was named.
void ReportPlatformFallback();

// Platforms on which a dialog would never be seen, so messages go to standard error.
bool IsHeadlessPlatform();
