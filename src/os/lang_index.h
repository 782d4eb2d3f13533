#pragma once
#include <string_view>

// Language index of the window's own texts: 0 (Chinese) when the user's locale is
// simplified Chinese, 1 (English) otherwise. Read afresh at every use. The locale is the
// environment's on Linux and the system's OEM code page (936) on Windows.
int WindowLangIndex();

// The Linux rule on a given locale name, such as "zh_CN.UTF-8".
int LangIndexOfLocale(std::string_view locale);
