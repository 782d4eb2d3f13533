#pragma once

// Points the program's message boxes at real dialogs on a desktop, and at standard error
// on the headless platforms, where a dialog would wait for a click that never comes.
void InstallMessageBoxes();
