#pragma once

// Points the program's message boxes at standard error and, on a desktop, at real dialogs
// as well; not on the headless platforms, where a dialog would wait for a click that
// never comes.
void InstallMessageBoxes();
