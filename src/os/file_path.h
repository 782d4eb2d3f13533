#pragma once
#include <filesystem>
#include <string>

// Names of files travel through the program as UTF-8. The file interfaces take them as a
// path made here: on Windows a plain narrow string would be read in the ANSI code page,
// so a name outside it (any Chinese name on a Western Windows, many on a Chinese one)
// would name another file or none. On POSIX systems the bytes pass unchanged.

// Text that is not UTF-8 gives, on Windows, the empty path, which opens nothing.
std::filesystem::path PathFromUtf8(const std::string& utf8);

// The name of a path made by PathFromUtf8, or a part of one, as UTF-8 again.
std::string Utf8FromPath(const std::filesystem::path& path);
