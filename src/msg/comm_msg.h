#pragma once
#include <json/value.h>

#include <cstdint>
#include <memory>
#include <string>

// One message in memory: a JSON value plus an optional attachment (a picture, say).
// Owned by one thread at a time and never copied.
class CommMsg_base : public Json::Value {
public:
    CommMsg_base() = default;
    CommMsg_base(const CommMsg_base&) = delete;
    CommMsg_base& operator=(const CommMsg_base&) = delete;
    virtual ~CommMsg_base() = default;

    // Compact JSON text of the value, members in byte order of their keys, then a line feed.
    virtual std::string ToJsonText() const;
    // Parses leniently (comments allowed, any root). A text that is not valid JSON leaves
    // whatever was read before the fault; nothing is thrown and nothing reported.
    virtual void FromJsonText(const std::string& text);

    // Drops the attachment and every member; then sets "pub_MsgID" when nMsgID is not 0.
    void ResetMsg(int nMsgID);
    void SetAttachment(const std::uint8_t* data, int len);

    std::unique_ptr<std::uint8_t[]> m_pAttach;
    int m_nAttachLen = 0;
};
