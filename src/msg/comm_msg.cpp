#include "comm_msg.h"

#include <json/reader.h>
#include <json/writer.h>

#include <cstring>

#include "msg_fields.h"

// The lenient reader and the fast writer are the system's own choice of JSON dialect;
// jsoncpp marks them deprecated in favour of builders that behave differently.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

std::string CommMsg_base::ToJsonText() const
{
    Json::FastWriter writer;
    return writer.write(*this);
}

void CommMsg_base::FromJsonText(const std::string& text)
{
    if (isObject() || isArray()) {
        clear();
    }
    try {
        Json::Reader reader;
        reader.parse(text, *this, false);
    } catch (const std::exception&) {
        // The reader gives up on nesting past its depth limit by throwing; what it had
        // read stays in the value, as for any other malformed text.
    }
}

#pragma GCC diagnostic pop

void CommMsg_base::ResetMsg(int nMsgID)
{
    m_pAttach.reset();
    m_nAttachLen = 0;
    if (isObject() || isArray()) {
        clear();
    }
    if (nMsgID != 0) {
        SetIntByName(*this, kMsgIdKey, nMsgID);
    }
}

void CommMsg_base::SetAttachment(const std::uint8_t* data, int len)
{
    m_pAttach.reset();
    m_nAttachLen = 0;
    if (len < 0) {
        return;
    }
    // Zero-filled when there is nothing to copy, so no byte of the block is ever unset.
    m_pAttach = data != nullptr ? std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(len))
                                : std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(len));
    if (len > 0 && data != nullptr) {
        std::memcpy(m_pAttach.get(), data, static_cast<std::size_t>(len));
    }
    m_nAttachLen = len;
}
