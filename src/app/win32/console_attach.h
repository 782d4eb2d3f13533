#pragma once

// A window program has no console of its own. Started from a command prompt it writes
// its lines (--help, --version, the port, --verbose, errors) to that prompt's console;
// started with its output redirected, to the files or pipes it was given; started from
// the Start menu or Explorer, nowhere, and the user sees only its message boxes.
void AttachParentConsole();
