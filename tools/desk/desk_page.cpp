#include "desk_page.h"

#include <json/writer.h>

#include "desk_page_html.h"

namespace {

void Replace(std::string& text, const std::string& mark, const std::string& by)
{
    const auto at = text.find(mark);
    if (at != std::string::npos) text.replace(at, mark.size(), by);
}

}  // namespace

std::string DeskPageHtml(DeskLanguage language, bool bCommandLineRooms)
{
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    writer["emitUTF8"] = true;
    // Inside a script element "</" would end it; the texts are the desk's own, but a JSON
    // escape keeps the rule whatever they become.
    std::string texts = Json::writeString(writer, PageTexts(language));
    for (std::size_t at = 0; (at = texts.find("</", at)) != std::string::npos;) {
        texts.replace(at, 2, "<\\/");
    }
    std::string html = kDeskPageHtml;
    Replace(html, "{{LANG}}", LanguageTag(language));
    Replace(html, "{{TEXTS}}", texts);
    Replace(html, "{{COMMAND_LINE}}", bCommandLineRooms ? "true" : "false");
    return html;
}
