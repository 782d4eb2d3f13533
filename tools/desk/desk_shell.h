#pragma once
#include <cstdint>
#include <functional>
#include <string>

// What the desk asks of its operating system, one file per platform.

// Opens the page in the user's browser when there is a desktop to show it on; false when
// there is none or the browser could not be started (the page's address is printed anyway).
bool OpenBrowser(const std::string& url);

// Makes the listening socket the port's only one: a second desk started on the same port
// fails to bind instead of sharing the connections unseen (Linux's SO_REUSEPORT), while a
// desk started again at once still gets its port back.
void KeepPortAlone(std::intptr_t socket);

// When the program ends with an error in a console window of its own (started from the
// Start menu), waits for Enter so that the director can read why; otherwise returns at once.
void HoldConsoleToBeRead();

// Calls stop once, from another thread, when the user ends the program (Ctrl+C, the
// console closed, a termination signal). Call before any other thread starts.
void OnEndRequest(std::function<void()> stop);
