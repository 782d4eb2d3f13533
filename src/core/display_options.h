#pragma once
#include "options/options.h"

class CDisplayCore;

// What the options ask of the display itself, the same on every platform: snapshot, bell
// and warning stages, saved pages, whom it listens to, remote view. Before the window is
// made. False, with a line on standard error, when the bell's sound cannot be used.
bool ApplyDisplayOptions(CDisplayCore& display, const AppOptions& options);
