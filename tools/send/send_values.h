#pragma once
#include <optional>
#include <string>
#include <string_view>

// Readers for the values a person types on pavlune-send's command line. Each returns
// nothing, with a one-line reason in error, when the text is not a value the display
// would show as meant; what they return is already in the form the display reads.

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// A whole decimal number from low to high, nothing before or after it.
std::optional<int> ReadWholeNumber(std::string_view text, int low, int high);

// Board numbers and ranges: "9-12", "9~12", "1,3,5", "1-4;7" and mixtures, with the
// Chinese full-width digits and punctuation a director may type. Returned with "~"
// ranges and "," between items, the only forms the display reads; count is the number
// of boards it names.
struct BoardList {
    std::string text;
    int count = 0;
};
inline constexpr int kMaxBoardNumber = 999;
std::optional<BoardList> ReadBoards(std::string_view text, std::string& error);

// "R,G,B" (each 0 to 255), "#RRGGBB" or a colour name such as "red" or "darkorange";
// returned as "R,G,B", the form the display reads.
std::optional<std::string> ReadColour(std::string_view text, std::string& error);

// The page language that suits the user's locale (LC_ALL, else LC_MESSAGES, else LANG):
// 0 (Chinese) for any zh_* locale, 1 (English) otherwise. Without any of them, the
// system's language as the display reads it (on Windows, the OEM code page).
int LocaleLanguage();
