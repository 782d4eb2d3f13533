#include "msg_fields.h"

#include "text/wide_text.h"

namespace {

const Json::Value* FindMember(const Json::Value& value, const std::string& key)
{
    if (!value.isObject()) {
        return nullptr;
    }
    return value.find(key.data(), key.data() + key.size());
}

// The library's own integer conversion, asked first whether it can convert: asInt throws
// for strings, arrays, objects and numbers outside int32, and those read as 0 instead.
int ToInt(const Json::Value& v)
{
    return v.isConvertibleTo(Json::intValue) ? v.asInt() : 0;
}

// atoi's reading: white space, an optional sign, digits up to the first other character.
// Accumulated with wrap-around so that very long numbers cannot overflow.
int AtoiLike(const std::string& token)
{
    std::size_t i = 0;
    while (i < token.size() && (token[i] == ' ' || (token[i] >= '\t' && token[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    unsigned int n = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
        n = n * 10u + static_cast<unsigned int>(token[i] - '0');
    }
    return static_cast<int>(negative ? 0u - n : n);
}

std::string TakeToken(std::string& rest)
{
    const std::size_t comma = rest.find(',');
    std::string token;
    if (comma == std::string::npos) {
        token = std::move(rest);
        rest.clear();
    } else {
        token = rest.substr(0, comma);
        rest.erase(0, comma + 1);
    }
    return token;
}

}  // namespace

int GetIntByName(const Json::Value& value, const std::string& key)
{
    const Json::Value* member = FindMember(value, key);
    return member == nullptr ? 0 : ToInt(*member);
}

void SetIntByName(Json::Value& value, const std::string& key, int n)
{
    if (!value.isObject()) {
        if (n == 0) {
            return;
        }
        value = Json::Value(Json::objectValue);
    }
    if (n != 0) {
        value[key] = n;
    } else {
        value.removeMember(key);
    }
}

std::string GetStringByName(const Json::Value& value, const std::string& key)
{
    const Json::Value* member = FindMember(value, key);
    if (member == nullptr || !member->isString()) {
        return {};
    }
    std::string text = member->asString();
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

int GetIntField(const Json::Value& value, int key)
{
    return GetIntByName(value, IntToText(key));
}

void SetIntField(Json::Value& value, int key, int n)
{
    SetIntByName(value, IntToText(key), n);
}

bool GetBoolField(const Json::Value& value, int key)
{
    const Json::Value* member = FindMember(value, IntToText(key));
    if (member == nullptr) {
        return false;
    }
    if (member->type() != Json::intValue && member->type() != Json::uintValue) {
        return false;
    }
    return member->isInt() && member->asInt() > 0;
}

std::string GetStringField(const Json::Value& value, int key)
{
    return GetStringByName(value, IntToText(key));
}

COLORREF TextToColor(std::string text)
{
    const int r = AtoiLike(TakeToken(text));
    const int g = AtoiLike(TakeToken(text));
    const int b = AtoiLike(TakeToken(text));
    return RGB(r, g, b);
}
