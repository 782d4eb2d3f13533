#pragma once
#include <optional>
#include <string>
#include <string_view>

// A playing room as the director names it, and where its display listens.
inline constexpr int kDisplayPort = 9977;
// A name fits on a card and in one line of desk.conf; an address is at most a DNS name.
inline constexpr std::size_t kMaxRoomName = 64;
inline constexpr std::size_t kMaxHostName = 253;
// The desk asks every room every two seconds; more rooms than this would not be seen at
// a glance, and would keep the four requests in flight from coming round in time.
inline constexpr std::size_t kMaxRooms = 64;

struct RoomAddress {
    std::string host;
    int port = kDisplayPort;
    bool operator==(const RoomAddress&) const = default;
};

struct Room {
    std::string name;
    RoomAddress address;
};

// HOST, or HOST:PORT when the port is not the display's own.
std::string AddressText(const RoomAddress& address);

// "HOST[:PORT]" read strictly: a port outside 1-65535 or not all digits is refused with a
// one-line reason. The host is not looked up here.
std::optional<RoomAddress> ParseAddress(std::string_view text, std::string& why);

// A name the page, desk.conf and the summary line can carry: not empty, one line, no '='
// (which ends a name in desk.conf), not starting with a comment mark, at most kMaxRoomName
// bytes. Spaces around it are not part of it.
bool CheckRoomName(std::string_view name, std::string& why);

// Spaces and tabs off both ends.
std::string_view Trimmed(std::string_view text);
