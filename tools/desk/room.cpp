#include "room.h"

#include <algorithm>

#include "text/wide_text.h"

std::string AddressText(const RoomAddress& address)
{
    return address.port == kDisplayPort ? address.host : address.host + ":" + std::to_string(address.port);
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<RoomAddress> ParseAddress(std::string_view text, std::string& why)
{
    text = Trimmed(text);
    RoomAddress address;
    const auto colon = text.rfind(':');
    std::string_view host = colon == std::string_view::npos ? text : text.substr(0, colon);
    if (colon != std::string_view::npos) {
        const std::string_view port = text.substr(colon + 1);
        const bool digits = !port.empty() && port.size() <= 5 &&
                            std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int n = digits ? std::stoi(std::string(port)) : 0;
        if (n < 1 || n > 65535) {
            why = "the port must be a number from 1 to 65535, not \"" + std::string(port.substr(0, 16)) + "\"";
            return std::nullopt;
        }
        address.port = n;
    }
    if (host.empty()) {
        why = "the address has no host: give a name or an IPv4 address, for example 192.168.1.20";
        return std::nullopt;
    }
    if (host.size() > kMaxHostName) {
        why = "the host name is longer than " + std::to_string(kMaxHostName) + " characters";
        return std::nullopt;
    }
    const bool plain = std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == '_';
    });
    if (!plain) {
        why = "a host is a name or an IPv4 address: letters, digits, '.', '-' and '_' only";
        return std::nullopt;
    }
    address.host = std::string(host);
    return address;
}

bool CheckRoomName(std::string_view name, std::string& why)
{
    name = Trimmed(name);
    if (name.empty()) {
        why = "the room has no name";
        return false;
    }
    if (name.size() > kMaxRoomName) {
        why = "the name is longer than " + std::to_string(kMaxRoomName) + " bytes";
        return false;
    }
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        why = "the name must be one line without control characters";
        return false;
    }
    if (Utf8ToWide(std::string(name)).empty()) {
        why = "the name is not UTF-8 text";
        return false;
    }
    if (name.find('=') != std::string_view::npos) {
        why = "the name may not hold '='";
        return false;
    }
    if (name.front() == '#' || name.front() == ';' || name.front() == '[') {
        why = "the name may not start with '#', ';' or '['";
        return false;
    }
    return true;
}
