#pragma once
#include <cstddef>
#include <string>

// The most bytes of one text of a page (title, subtitle, caption, board list): far more
// than a line across any screen can show, and little enough that a page is never slow
// to draw whatever a peer sends.
inline constexpr std::size_t kMaxPageTextBytes = 4096;

// The text cut to at most `maxBytes` bytes without splitting a UTF-8 sequence: a cut
// that falls inside one moves back to where it starts. Shorter texts stay as they are.
std::string CutAtCharacter(std::string text, std::size_t maxBytes = kMaxPageTextBytes);
