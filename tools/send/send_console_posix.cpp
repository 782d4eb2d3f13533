#include "send_console.h"

SendConsole::SendConsole(int argc, char** argv) : m_argv(argv, argv + argc) {}

SendConsole::~SendConsole() = default;
