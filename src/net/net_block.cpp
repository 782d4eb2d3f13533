#include "net_block.h"

#include <charconv>

namespace {

template <std::size_t N>
bool PrefixMatches(const std::array<unsigned char, N>& a, const std::array<unsigned char, N>& b, unsigned prefix)
{
    const unsigned whole = prefix / 8;
    for (unsigned i = 0; i < whole; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    const unsigned rest = prefix % 8;
    if (rest == 0) {
        return true;
    }
    const auto mask = static_cast<unsigned char>(0xFF << (8 - rest));
    return (a[whole] & mask) == (b[whole] & mask);
}

// Four decimal numbers of at most 255, without leading zeros: the only IPv4 form that
// inet_pton takes. The parser under Asio on Windows also takes "10.0.0", octal and
// hexadecimal parts, a ":port" after an address and brackets around one, so without this
// "--allow 010.0.0.1" would let in 8.0.0.1 there and "--listen 127.0.0.1:80" would listen
// on 127.0.0.1.
bool IsDottedQuad(std::string_view text)
{
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return false;
            }
            text.remove_prefix(1);
        }
        unsigned value = 0;
        const auto [end, err] = std::from_chars(text.data(), text.data() + text.size(), value);
        const auto digits = static_cast<std::size_t>(end - text.data());
        if (err != std::errc() || digits == 0 || digits > 3 || value > 255 || (digits > 1 && text.front() == '0')) {
            return false;
        }
        text.remove_prefix(digits);
    }
    return text.empty();
}

}  // namespace

std::optional<asio::ip::address> ParseAddress(std::string_view text)
{
    if (text.empty() || text.find_first_of("% \t[]") != std::string_view::npos) {
        return std::nullopt;
    }
    asio::error_code ec;
    asio::ip::address address;
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        if (!IsDottedQuad(text)) {
            return std::nullopt;
        }
        address = asio::ip::make_address_v4(std::string(text), ec);
    } else {
        // An IPv6 address may end in IPv4 form: "::ffff:192.0.2.7".
        const std::string_view tail = text.substr(colon + 1);
        if (tail.find('.') != std::string_view::npos && !IsDottedQuad(tail)) {
            return std::nullopt;
        }
        address = asio::ip::make_address_v6(std::string(text), ec);
    }
    if (ec) {
        return std::nullopt;
    }
    return address;
}

asio::ip::address Unmapped(const asio::ip::address& peer)
{
    if (peer.is_v6() && peer.to_v6().is_v4_mapped()) {
        return asio::ip::make_address_v4(asio::ip::v4_mapped, peer.to_v6());
    }
    return peer;
}

std::optional<NetBlock> NetBlock::Parse(std::string_view text)
{
    const std::size_t slash = text.find('/');
    const std::optional<asio::ip::address> base = ParseAddress(text.substr(0, slash));
    if (!base) {
        return std::nullopt;
    }
    const unsigned width = base->is_v4() ? 32 : 128;
    if (slash == std::string_view::npos) {
        return NetBlock(*base, width);
    }
    const std::string_view digits = text.substr(slash + 1);
    unsigned prefix = 0;
    const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
    if (digits.empty() || err != std::errc() || end != digits.data() + digits.size() || prefix > width ||
        digits.front() == '+') {
        return std::nullopt;
    }
    return NetBlock(*base, prefix);
}

bool NetBlock::Contains(const asio::ip::address& peer) const
{
    const asio::ip::address address = Unmapped(peer);
    if (address.is_v4() != m_base.is_v4()) {
        return false;
    }
    if (address.is_v4()) {
        return PrefixMatches(address.to_v4().to_bytes(), m_base.to_v4().to_bytes(), m_nPrefix);
    }
    return PrefixMatches(address.to_v6().to_bytes(), m_base.to_v6().to_bytes(), m_nPrefix);
}

bool IsAllowed(const std::vector<NetBlock>& allowed, const asio::ip::address& peer)
{
    if (allowed.empty()) {
        return true;
    }
    for (const NetBlock& block : allowed) {
        if (block.Contains(peer)) {
            return true;
        }
    }
    return false;
}
