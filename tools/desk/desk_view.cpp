#include "desk_view.h"

#include "status_read.h"

namespace {

const char* StateName(RoomState state)
{
    switch (state) {
    case RoomState::Waiting: return "waiting";
    case RoomState::Answering: return "answering";
    case RoomState::Older: return "older version";
    case RoomState::NotAnswering: return "not answering";
    }
    return "waiting";
}

Json::Value RoomView(const RoomWatch& watch, DeskLanguage language, SteadyTime now)
{
    Json::Value room;
    room["id"] = watch.nId;
    room["name"] = watch.room.name;
    room["address"] = AddressText(watch.room.address);
    room["state"] = StateName(watch.state);
    room["stateText"] = StateText(watch, language);
    if (watch.state == RoomState::NotAnswering) {
        room["notAnsweringSince"] = ClockOf(watch.since);
        room["reason"] = watch.reason;
    }
    if (watch.picture) {
        Json::Value& picture = room["picture"];
        picture["url"] = "/api/rooms/" + std::to_string(watch.nId) + "/picture.png?v=" +
                         std::to_string(watch.nPictureVersion);
        picture["width"] = watch.picture->nWidth;
        picture["height"] = watch.picture->nHeight;
    }
    const Json::Value& status = watch.Status();
    if (watch.state != RoomState::Answering) return room;
    room["shown"] = TextOf(At(status, "shown"));
    room["shownText"] = ShownText(status, language);
    if (room["shown"] == "note") {
        room["note"]["number"] = static_cast<Json::Int64>(NumberOf(At(status, "note", "number")));
        room["note"]["count"] = static_cast<Json::Int64>(NumberOf(At(status, "note", "count")));
    }
    if (At(status, "round").isObject()) {
        for (const char* text : {"title", "subtitle", "boards"}) {
            room["round"][text] = TextOf(At(status, "round", text));
        }
        room["round"]["remaining"] = static_cast<Json::Int64>(NumberOf(At(status, "round", "remaining")));
    }
    room["screen"]["width"] = static_cast<Json::Int64>(NumberOf(At(status, "screen", "width")));
    room["screen"]["height"] = static_cast<Json::Int64>(NumberOf(At(status, "screen", "height")));
    room["screen"]["fullScreen"] = FlagOf(At(status, "screen", "fullScreen"));
    room["screenText"] = ScreenText(status, language);
    room["version"] = TextOf(At(status, "version"));
    room["platform"] = TextOf(At(status, "platform"));
    room["restored"] = FlagOf(At(status, "restored"));
    room["runsText"] = RunsText(status, language);
    room["statusAge"] = static_cast<Json::Int64>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now - watch.statusAt).count());
    return room;
}

}  // namespace

Json::Value RoomsView(const std::vector<RoomWatch>& watches, DeskLanguage language, SteadyTime now,
                      bool bRoomsSaved)
{
    Json::Value view;
    view["language"] = LanguageTag(language);
    view["summary"] = SummaryText(watches, language);
    view["roomsSaved"] = bRoomsSaved;
    view["rooms"] = Json::Value(Json::arrayValue);
    for (const RoomWatch& watch : watches) {
        view["rooms"].append(RoomView(watch, language, now));
    }
    return view;
}
