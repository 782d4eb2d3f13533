#include "user_dirs.h"

#include <windows.h>

#include "text/wide_text.h"

namespace {

// Read wide: the narrow environment holds the folder in the ANSI code page, which loses
// a user name outside it.
std::string UnderVariable(const wchar_t* variable)
{
    const DWORD size = GetEnvironmentVariableW(variable, nullptr, 0);
    if (size <= 1) return {};
    std::u16string base(size, u'\0');
    const DWORD length = GetEnvironmentVariableW(variable, reinterpret_cast<wchar_t*>(base.data()), size);
    if (length == 0 || length >= size) return {};
    base.resize(length);
    return WideToUtf8(base) + "\\Pavlune";
}

}  // namespace

std::string ConfigDirectory()
{
    return UnderVariable(L"APPDATA");
}

std::string StateDirectory()
{
    return UnderVariable(L"LOCALAPPDATA");
}
