#pragma once
#include <cstdint>
#include <string>

#include <json/value.h>

// Reading a display's status without trusting its shape: jsoncpp throws when a member is
// read from a value that is not an object, or a text from a number, and what a display
// sends must never end the desk. A member that is missing or of another kind reads as
// null, "", 0 or false.
const Json::Value& Member(const Json::Value& value, const char* key);
std::string TextOf(const Json::Value& value);
std::int64_t NumberOf(const Json::Value& value);
bool FlagOf(const Json::Value& value);

// The JSON text parsed; null when it is not JSON.
Json::Value ParsedJson(const std::string& text);

// Path-style access: At(status, "round", "title").
template <typename... Keys>
const Json::Value& At(const Json::Value& value, const char* key, Keys... rest)
{
    if constexpr (sizeof...(rest) == 0) {
        return Member(value, key);
    } else {
        return At(Member(value, key), rest...);
    }
}
