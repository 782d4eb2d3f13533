#pragma once
#include <asio/ip/tcp.hpp>

// Lets a restarted display bind its port again while connections of the one before sit
// in TIME_WAIT, and never lets a second listener share the port. Set before the bind.
void AllowRestartOnPort(asio::ip::tcp::acceptor& acceptor);
