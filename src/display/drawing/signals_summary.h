#pragma once
#include <string>

struct TimeSignals;

// One short line for the information screen that tells the director which time signals
// are set up, in the window's language: "Warnings 05:00, 02:00 · overtime blinks · bell".
// Empty when none are.
std::string SignalsSummary(const TimeSignals& timeSignals, int nLanguage);

// The information screen's footer with the summary as one more item after what it says
// already, spaced as its own items are.
std::u16string WithSignalsSummary(const std::u16string& footer, const TimeSignals& timeSignals, int nLanguage);
