#pragma once
#include <string>
#include <vector>

// Full-width digits and punctuation, as Chinese input methods type them, made ASCII:
// "１～４；７" becomes "1~4;7". Closing quotation marks are left alone.
std::string NormaliseFullWidth(std::string text);

// The boards of a round from text such as "1~8", "9~6,2" or "１～４；７": numbers and
// ranges (either direction) separated by "," or ";", in text order, duplicates kept
// unless `unique`. A token without digits counts as 0; numbers past the int range are
// held at its ends. The list stops at kMaxBoards numbers, so a range such as
// "1~2000000000" cannot exhaust memory.
std::vector<int> ParseBoardList(const std::string& text, bool unique);

inline constexpr std::size_t kMaxBoards = 10000;
