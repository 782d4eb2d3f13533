#pragma once
#include <string>
#include <vector>

// Chooses the Qt platform before the application object exists. When neither the command
// line (-platform) nor QT_QPA_PLATFORM names one, the desktop's platform is tried first
// and the offscreen one after it, so a machine without a reachable display server still
// runs the display (its network side, and --snapshot) instead of aborting.
void PrepareQtPlatform(const std::vector<std::string>& qtArgs);

// After the application object exists: says on standard error when the fallback was
// taken.
void ReportPlatformFallback();

// Platforms on which a dialog would never be seen, so messages go to standard error.
bool IsHeadlessPlatform();
