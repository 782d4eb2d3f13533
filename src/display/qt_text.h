#pragma once
#include <QString>

#include <string>

#include "text/wide_text.h"

// UTF-8 text of a message or a language text, as the screens draw it.
inline QString WideText(const std::string& utf8) { return QString::fromStdU16String(Utf8ToWide(utf8)); }
inline QString ToQString(const std::u16string& wide) { return QString::fromStdU16String(wide); }
