#pragma once
#include <string_view>

// Language index of the window's own texts: 0 (Chinese) when the user's locale is
// simplified Chinese, 1 (English) otherwise. Read afresh at every use.
int WindowLangIndex();

// The same rule on a given locale name, such as "zh_CN.UTF-8".
int LangIndexOfLocale(std::string_view locale);
