#include "port_reuse.h"

// Here SO_REUSEADDR only lets the port past TIME_WAIT; a port that another socket listens
// on still fails the bind.
void AllowRestartOnPort(asio::ip::tcp::acceptor& acceptor)
{
    asio::error_code ignored;
    acceptor.set_option(asio::socket_base::reuse_address(true), ignored);
}
