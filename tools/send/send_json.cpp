#include "send_json.h"

#include <json/reader.h>

#include <memory>
#include <regex>

#include "msg/msg_fields.h"

namespace {

// The reader reports "* Line L, Column C" and the reason on the next line.
std::string OneLineReason(const std::string& errors)
{
    static const std::regex where(R"(Line ([0-9]+), Column ([0-9]+)\n +([^\n]*))");
    std::smatch m;
    if (std::regex_search(errors, m, where)) {
        return "line " + m[1].str() + ", column " + m[2].str() + ": " + m[3].str();
    }
    return errors.substr(0, errors.find('\n'));
}

}  // namespace

std::optional<Json::Value> ReadRawJson(const std::string& text, std::string& error)
{
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["failIfExtra"] = true;
    builder["rejectDupKeys"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors)) {
        error = "raw JSON error at " + OneLineReason(errors);
        return std::nullopt;
    }
    if (!value.isObject()) {
        error = "raw needs a JSON object, such as {\"pub_MsgID\":309}";
        return std::nullopt;
    }
    const Json::Value& id = value[kMsgIdKey];
    const bool whole = id.type() == Json::intValue || id.type() == Json::uintValue;
    if (!whole || !id.isInt() || id.asInt() < 1) {
        error = "raw needs \"pub_MsgID\" as a whole number from 1 up; the display drops any other message";
        return std::nullopt;
    }
    return value;
}
