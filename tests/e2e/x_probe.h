#pragma once
#include <string>

// Questions to an X server that screenshots cannot answer, asked over a connection of
// the test's own that is closed again at once.

// Whether the mouse cursor shows no pixel at all (XFixes' current cursor image); false
// also when the server could not be asked.
bool CursorIsBlank(const std::string& display);

enum class SaverState { kOff, kOn, kDisabled, kUnknown };
// The screen saver's state (MIT-SCREEN-SAVER extension).
SaverState ScreenSaverState(const std::string& display);
