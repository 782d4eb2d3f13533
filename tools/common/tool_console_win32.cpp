#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "common/tool_console.h"

namespace {

std::string Utf8(const wchar_t* text)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

}  // namespace

ToolConsole::ToolConsole(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        m_args.assign(argv, argv + argc);
    } else {
        for (int i = 0; i < count; ++i) {
            m_args.push_back(Utf8(wide[i]));
        }
        LocalFree(wide);
    }
    for (const std::string& arg : m_args) {
        m_argv.push_back(arg.c_str());
    }
    // A picture piped in must not lose its CR bytes or end at its first Ctrl-Z.
    _setmode(_fileno(stdin), _O_BINARY);
    m_savedCodePage = GetConsoleOutputCP();
    if (m_savedCodePage != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

ToolConsole::~ToolConsole()
{
    if (m_savedCodePage != 0) {
        SetConsoleOutputCP(m_savedCodePage);
    }
}

bool WriteStandardOutput(std::span<const std::uint8_t> bytes)
{
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}
