#include "info_footer.h"

#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

std::u16string PortItem(const char* langText, int nPort, int nLanguage)
{
    return SubstitutePlaceholder(Utf8ToWide(ChooseLangText(langText, nLanguage)), nPort);
}

}  // namespace

std::u16string InfoFooterText(const InfoFooter& footer, int nLanguage)
{
    if (!footer.bListening) return PortItem(LangText::kNotListening, footer.nPort, nLanguage);
    if (footer.nPort != kStandardPort) return PortItem(LangText::kListeningPort, footer.nPort, nLanguage);
    return {};
}
