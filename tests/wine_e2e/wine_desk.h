#pragma once
#include <string>

// The Windows desk from the given file, run under Wine as a director runs it from a
// console: it must serve the page with the rooms it is given, and end with status 0 on
// Ctrl+C (its console handler, not Wine's default end). Fails the calling test otherwise.
void ExpectDeskServesAndEndsOnCtrlC(const std::string& program, const std::string& scratchDir);
