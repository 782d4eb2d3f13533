#pragma once
#include <json/value.h>

#include <optional>
#include <string>

// The JSON text of a raw message, checked before anything is sent: well-formed (comments
// allowed, as the display allows them; nothing after the object), an object, and with a
// "pub_MsgID" from 1 up, since the display silently drops any other frame. On failure
// returns nothing with a one-line reason that names the line and column of a syntax error.
std::optional<Json::Value> ReadRawJson(const std::string& text, std::string& error);
