#include "status_read.h"

#include <json/reader.h>

#include <limits>
#include <memory>

const Json::Value& Member(const Json::Value& value, const char* key)
{
    static const Json::Value null;
    if (!value.isObject()) return null;
    const Json::Value* found = value.find(key, key + std::char_traits<char>::length(key));
    return found != nullptr ? *found : null;
}

Json::Value ParsedJson(const std::string& text)
{
    Json::Value json;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string error;
    if (!reader->parse(text.data(), text.data() + text.size(), &json, &error)) return Json::Value();
    return json;
}

std::string TextOf(const Json::Value& value) { return value.isString() ? value.asString() : std::string(); }

std::int64_t NumberOf(const Json::Value& value)
{
    if (value.isInt64()) return value.asInt64();
    return 0;
}

bool FlagOf(const Json::Value& value) { return value.isBool() && value.asBool(); }
