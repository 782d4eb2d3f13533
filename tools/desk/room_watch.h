#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <json/value.h>

#include "room.h"

// What the desk knows of one room's display, from its answers alone. No threads and no
// sockets here: the watcher asks, and hands each answer or failure in with the time.
using SteadyTime = std::chrono::steady_clock::time_point;

// How often a room is asked, and how long a picture may age while nothing changes.
inline constexpr auto kStatusPeriod = std::chrono::seconds(2);
inline constexpr auto kPicturePeriod = std::chrono::seconds(10);

enum class RoomState {
    Waiting,       // not asked yet
    Answering,     // its last status came
    Older,         // it answers the size request, but not status or screen picture
    NotAnswering,  // its last request failed
};

// A screen picture as the display sent it: a PNG, never decoded by the desk.
struct RoomPicture {
    std::vector<std::uint8_t> png;
    int nWidth = 0;
    int nHeight = 0;
};

enum class RoomJob { Status, Picture };

struct RoomWatch {
    int nId = 0;  // stable while the desk runs; a renamed room keeps it
    Room room;
    RoomState state = RoomState::Waiting;
    std::string reason;       // why the last request failed
    std::time_t since = 0;    // when it stopped answering, on the wall clock
    // The last status reply, shared: the page's view copies every room once a second.
    std::shared_ptr<const Json::Value> status;
    SteadyTime statusAt{};    // when it came
    std::string shownKey;     // what of the status, changed, calls for a new picture
    std::shared_ptr<const RoomPicture> picture;
    unsigned nPictureVersion = 0;
    SteadyTime pictureAt{};
    bool bPictureWanted = true;
    SteadyTime nextStatusAt{};
    bool bAsking = false;  // a request of this room is in flight

    // The last status, or null before the first.
    const Json::Value& Status() const;

    // The request due now, if any: a wanted or aged picture before a status.
    std::optional<RoomJob> Due(SteadyTime now) const;
    // When a request falls due next (for a room not being asked).
    SteadyTime NextDue() const;

    void OnStatus(const Json::Value& reply, SteadyTime now);
    void OnPicture(std::shared_ptr<const RoomPicture> fresh, SteadyTime now);
    void OnOlder(SteadyTime now);
    void OnFailure(const std::string& why, SteadyTime now, std::time_t wallNow);
    // The status request went out at `now`: the next one falls due a period later, so a
    // slow answer does not pile requests up.
    void OnAsked(RoomJob job, SteadyTime now);
};

// The parts of a status whose change shows on the screen, other than the running clock:
// the page shown, its round's texts, the note, the screen's size and mode, and the
// scoring program's messages handled (a new message may bring a new background to the
// same round).
std::string ShownKey(const Json::Value& status);

// A PNG's own width and height, from its header; nullopt when the bytes are not a PNG.
std::optional<std::pair<int, int>> PngSize(const std::vector<std::uint8_t>& png);
