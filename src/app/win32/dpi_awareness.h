#pragma once
#include <string>

// How the process sees the desktop's scaling, as its manifest asked: a line for the
// diagnostic log. Wine keeps every desktop at 96 dots per inch, so this line is where a
// test sees that the program asked for physical pixels.
std::u16string DpiAwarenessLine();
