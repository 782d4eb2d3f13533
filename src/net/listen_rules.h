#pragma once
#include <optional>
#include <vector>

#include <asio/ip/address.hpp>

#include "net/net_block.h"

// Where the server listens and whom it lets in.
struct ListenRules {
    // None for every IPv4 address; :: for every address of both families; any other
    // address for that one alone.
    std::optional<asio::ip::address> address;
    // Empty: everyone may send. Otherwise a peer outside every block is closed at once,
    // with one log line, and never reaches the processor.
    std::vector<NetBlock> allowed;
};
