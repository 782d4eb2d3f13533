#pragma once
#include <string>
#include <vector>

// Chooses the Qt platform before the application object exists, from -platform (or
// QT_QPA_PLATFORM) and the display servers that DISPLAY, -display and WAYLAND_DISPLAY
// name. A named server that cannot be reached is an error, so that a service manager
// starts the program again later instead of it running unseen; only where no server is
// named at all does the program run on the offscreen platform (its network side, and
// --snapshot). Returns an empty text when Qt may start, else one line naming the server.
std::string PrepareQtPlatform(const std::vector<std::string>& qtArgs);

// After the application object exists: says on standard error when the offscreen
// platform was taken because no server was named.
void ReportPlatformFallback();

// Platforms on which a dialog would never be seen, so messages go to standard error.
bool IsHeadlessPlatform();
