#include "room_watch.h"

#include <algorithm>

#include <json/writer.h>

#include "status_read.h"

std::string ShownKey(const Json::Value& status)
{
    Json::Value key;
    for (const char* member : {"shown", "note", "screen"}) {
        key[member] = Member(status, member);
    }
    // The scoring program's messages only: the desk's own questions (the 900s) are counted
    // there too, and would call for a new picture at every status.
    const Json::Value& messages = Member(status, "messages");
    if (messages.isObject()) {
        for (const std::string& id : messages.getMemberNames()) {
            const bool bQuestion = id.size() == 3 && id >= "900";
            if (!bQuestion) key["messages"][id] = messages[id];
        }
    }
    for (const char* member : {"title", "subtitle", "boards", "language"}) {
        key["round"][member] = At(status, "round", member);
    }
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Json::writeString(writer, key);
}

std::optional<std::pair<int, int>> PngSize(const std::vector<std::uint8_t>& png)
{
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (png.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin())) {
        return std::nullopt;
    }
    const auto be32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(png[at]) << 24 | static_cast<std::uint32_t>(png[at + 1]) << 16 |
               static_cast<std::uint32_t>(png[at + 2]) << 8 | png[at + 3];
    };
    const std::uint32_t width = be32(16);
    const std::uint32_t height = be32(20);
    if (width == 0 || height == 0 || width > 65535 || height > 65535) return std::nullopt;
    return std::pair<int, int>(static_cast<int>(width), static_cast<int>(height));
}

const Json::Value& RoomWatch::Status() const
{
    static const Json::Value none;
    return status ? *status : none;
}

std::optional<RoomJob> RoomWatch::Due(SteadyTime now) const
{
    if (bAsking) return std::nullopt;
    if (state == RoomState::Answering && (bPictureWanted || now >= pictureAt + kPicturePeriod)) {
        return RoomJob::Picture;
    }
    if (now >= nextStatusAt) return RoomJob::Status;
    return std::nullopt;
}

SteadyTime RoomWatch::NextDue() const
{
    if (state == RoomState::Answering) {
        return bPictureWanted ? SteadyTime{} : std::min(nextStatusAt, pictureAt + kPicturePeriod);
    }
    return nextStatusAt;
}

void RoomWatch::OnAsked(RoomJob job, SteadyTime now)
{
    bAsking = true;
    if (job == RoomJob::Status) nextStatusAt = now + kStatusPeriod;
}

void RoomWatch::OnStatus(const Json::Value& reply, SteadyTime now)
{
    bAsking = false;
    std::string key = ShownKey(reply);
    if (state != RoomState::Answering || key != shownKey) bPictureWanted = true;
    shownKey = std::move(key);
    status = std::make_shared<const Json::Value>(reply);
    statusAt = now;
    state = RoomState::Answering;
    reason.clear();
}

void RoomWatch::OnPicture(std::shared_ptr<const RoomPicture> fresh, SteadyTime now)
{
    bAsking = false;
    picture = std::move(fresh);
    ++nPictureVersion;
    pictureAt = now;
    bPictureWanted = false;
}

void RoomWatch::OnOlder(SteadyTime)
{
    bAsking = false;
    if (state != RoomState::Older) picture.reset();
    state = RoomState::Older;
    status.reset();
    reason.clear();
}

void RoomWatch::OnFailure(const std::string& why, SteadyTime now, std::time_t wallNow)
{
    bAsking = false;
    if (state != RoomState::NotAnswering) since = wallNow;
    state = RoomState::NotAnswering;
    reason = why;
    bPictureWanted = true;
    // A failed picture is not retried before the next status says the display is back.
    nextStatusAt = std::min(nextStatusAt, now + kStatusPeriod);
}
