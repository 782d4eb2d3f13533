#include "lang_text.h"

std::string TextPart(const std::string& text, const std::string& separator, int index)
{
    if (text.empty() || separator.empty()) {
        return index == 0 ? text : std::string();
    }
    int counter = 0;
    std::string_view rest(text);
    while (!rest.empty()) {
        std::string_view part;
        const std::size_t at = rest.find(separator);
        if (at == std::string_view::npos) {
            part = rest;
            rest = {};
        } else {
            part = rest.substr(0, at);
            rest.remove_prefix(at + separator.size());
        }
        if (counter == index) {
            return std::string(part);
        }
        ++counter;
    }
    return {};
}

std::string ChooseLangText(const std::string& text, int index)
{
    if (text.empty()) {
        return "Text error!";
    }
    std::string part = TextPart(text, "||", index);
    if (!part.empty()) {
        return part;
    }
    return text;
}
