// Stands in for netsh.exe, whose firewall Wine does not have: appends its command line, as
// UTF-8, to the file that PAVLUNE_NETSH_RECORD names, and succeeds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main()
{
    const char* record = std::getenv("PAVLUNE_NETSH_RECORD");
    if (record == nullptr) return 1;
    const wchar_t* line = GetCommandLineW();
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(nBytes > 0 ? nBytes - 1 : 0), '\0');
    if (nBytes > 1) WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), nBytes, nullptr, nullptr);
    FILE* file = std::fopen(record, "ab");
    if (file == nullptr) return 1;
    std::fprintf(file, "%s\n", text.c_str());
    std::fclose(file);
    return 0;
}
