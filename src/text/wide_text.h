#pragma once
#include <string>

// UTF-16 text, as the window layer draws it. Conversion is strict: invalid UTF-8
// (overlong forms, surrogates, code points past U+10FFFF, cut-short sequences) gives the
// empty text and one "Conversion error: " line on standard error.
std::u16string Utf8ToWide(const std::string& text);

// The reverse, for echoing wide text to a terminal; unpaired surrogates become U+FFFD.
std::string WideToUtf8(const std::u16string& text);

// Decimal text of a number: no sign for positives, no grouping, no leading zeros.
std::string IntToText(int n);
std::u16string IntToWide(int n);

// Replaces every "%1", left to right and without rescanning, by the number's text.
std::u16string SubstitutePlaceholder(const std::u16string& text, int n);
