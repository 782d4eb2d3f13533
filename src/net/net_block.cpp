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

}  // namespace

std::optional<asio::ip::address> ParseAddress(std::string_view text)
{
    if (text.empty() || text.find_first_of("% \t") != std::string_view::npos) {
        return std::nullopt;
    }
    asio::error_code ec;
    const asio::ip::address address = asio::ip::make_address(std::string(text), ec);
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
