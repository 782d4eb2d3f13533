#include <cstdio>

#include "common/tool_console.h"

ToolConsole::ToolConsole(int argc, char** argv) : m_argv(argv, argv + argc) {}

ToolConsole::~ToolConsole() = default;

bool WriteStandardOutput(std::span<const std::uint8_t> bytes)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}
