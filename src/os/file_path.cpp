#include "file_path.h"

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::filesystem::filesystem_error&) {
        return {};
    }
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}
