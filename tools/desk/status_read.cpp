#include "status_read.h"

#include <limits>

const Json::Value& Member(const Json::Value& value, const char* key)
{
    static const Json::Value null;
    if (!value.isObject()) return null;
    const Json::Value* found = value.find(key, key + std::char_traits<char>::length(key));
    return found != nullptr ? *found : null;
}

std::string TextOf(const Json::Value& value) { return value.isString() ? value.asString() : std::string(); }

std::int64_t NumberOf(const Json::Value& value)
{
    if (value.isInt64()) return value.asInt64();
    return 0;
}

bool FlagOf(const Json::Value& value) { return value.isBool() && value.asBool(); }
