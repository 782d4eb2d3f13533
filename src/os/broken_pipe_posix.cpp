#include "broken_pipe.h"

#include <csignal>

void IgnoreBrokenPipe()
{
    std::signal(SIGPIPE, SIG_IGN);
}
