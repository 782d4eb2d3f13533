#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The command line as UTF-8, and standard input as the very bytes piped in, on either
// platform. Windows hands a program its arguments in the ANSI code page and reads
// standard input as text; for as long as this lives they are as on Linux, and the
// console shows UTF-8, getting its own code page back afterwards.
class ToolConsole {
public:
    ToolConsole(int argc, char** argv);
    ~ToolConsole();
    ToolConsole(const ToolConsole&) = delete;
    ToolConsole& operator=(const ToolConsole&) = delete;

    int Argc() const { return static_cast<int>(m_argv.size()); }
    const char* const* Argv() const { return m_argv.data(); }

private:
    std::vector<std::string> m_args;
    std::vector<const char*> m_argv;
    unsigned m_savedCodePage = 0;
};

// Writes the bytes to standard output as they are: on Windows, without a CR before each
// LF byte, which would spoil a picture. False when they could not all be written.
bool WriteStandardOutput(std::span<const std::uint8_t> bytes);
