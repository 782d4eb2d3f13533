#include <cstdio>

#include "send_console.h"

SendConsole::SendConsole(int argc, char** argv) : m_argv(argv, argv + argc) {}

SendConsole::~SendConsole() = default;

bool WriteStandardOutput(std::span<const std::uint8_t> bytes)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return std::fflush(stdout) == 0 && written;
}
