#include "broken_pipe.h"

// Windows has no SIGPIPE: a send to a peer that has gone fails with WSAECONNRESET and a
// write to a closed pipe with ERROR_NO_DATA, and the process goes on by itself.
void IgnoreBrokenPipe()
{
}
