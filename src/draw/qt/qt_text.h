#pragma once
#include <QString>

#include <string>

// The core's text at the edge of Qt.
inline QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }
