#pragma once
#include <functional>
#include <string>

// What the desk asks of its operating system, one file per platform.

// Opens the page in the user's browser when there is a desktop to show it on; false when
// there is none or the browser could not be started (the page's address is printed anyway).
bool OpenBrowser(const std::string& url);

// Calls stop once, from another thread, when the user ends the program (Ctrl+C, the
// console closed, a termination signal). Call before any other thread starts.
void OnEndRequest(std::function<void()> stop);
