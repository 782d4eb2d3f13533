#include "port_reuse.h"

// Windows binds a listening socket past TIME_WAIT by default, and there SO_REUSEADDR would
// let the bind succeed on a port that another program, or a copy of this one, listens on.
void AllowRestartOnPort(asio::ip::tcp::acceptor&)
{
}
