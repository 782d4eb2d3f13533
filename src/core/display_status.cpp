#include "display_status.h"

#include "msg/msg_ids.h"

void FillStatusReply(const DisplayStatus& status, CommMsg_base& reply)
{
    reply.ResetMsg(MSGID_STATUS);
    reply["version"] = status.version;
    reply["platform"] = status.platform;
    reply["uptime"] = static_cast<Json::Int64>(status.nUptime);
    Json::Value& screen = reply["screen"];
    screen["width"] = status.nWidth;
    screen["height"] = status.nHeight;
    screen["fullScreen"] = status.bFullScreen;
    if (status.round) {
        reply["shown"] = "round page";
        Json::Value& round = reply["round"];
        round["title"] = status.round->title;
        round["subtitle"] = status.round->subtitle;
        round["boards"] = status.round->boards;
        round["remaining"] = static_cast<Json::Int64>(status.round->nRemaining);
        round["language"] = status.round->nLanguage;
    } else if (status.nNotes > 0) {
        reply["shown"] = "note";
        reply["note"]["number"] = status.nNote;
        reply["note"]["count"] = status.nNotes;
    } else {
        reply["shown"] = "information screen";
    }
    reply["restored"] = status.bRestored;
    reply["port"] = status.nPort;
    Json::Value& messages = reply["messages"];
    messages = Json::Value(Json::objectValue);
    for (const auto& [nId, nCount] : status.messages) messages[std::to_string(nId)] = static_cast<Json::UInt64>(nCount);
    reply["framesRejected"] = static_cast<Json::UInt64>(status.nFramesRejected);
    reply["peersRefused"] = static_cast<Json::UInt64>(status.nPeersRefused);
}
