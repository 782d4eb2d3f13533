#pragma once

// The user's messages go to a message box (the application's title as caption, an
// exclamation icon, no owner) and, in one write, to standard error when the program has
// one. Only the thread that installs the handler waits for the click; any other caller
// (the server's threads, which the window thread may be about to join) gets the box on a
// thread of its own.
void InstallMessageBoxes();
