#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <asio/ip/address.hpp>

// An address block a peer may connect from: one address ("192.0.2.7", "2001:db8::1") or a
// CIDR block ("10.1.0.0/16", "fe80::/10"). Bits below the prefix are ignored, so
// "10.1.2.3/16" is the block 10.1.0.0/16, as routers read it.
class NetBlock {
public:
    // Nothing for anything else: a host name, a prefix past the family's width, a
    // scope ("fe80::1%eth0"), spaces.
    static std::optional<NetBlock> Parse(std::string_view text);

    // A peer of an IPv6 listener that came over IPv4 shows up as ::ffff:a.b.c.d; it is
    // matched as the IPv4 address it is.
    bool Contains(const asio::ip::address& peer) const;

    friend bool operator==(const NetBlock&, const NetBlock&) = default;

private:
    NetBlock(asio::ip::address base, unsigned prefix) : m_base(base), m_nPrefix(prefix) {}

    asio::ip::address m_base;
    unsigned m_nPrefix = 0;
};

// Who may send: everyone when the list is empty, else a peer inside one of the blocks.
bool IsAllowed(const std::vector<NetBlock>& allowed, const asio::ip::address& peer);

// A literal IPv4 or IPv6 address (no host names, no scope), or nothing.
std::optional<asio::ip::address> ParseAddress(std::string_view text);

// The peer's address as it is logged: IPv4-mapped addresses in their IPv4 form.
asio::ip::address Unmapped(const asio::ip::address& peer);
