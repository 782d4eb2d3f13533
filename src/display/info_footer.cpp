#include "info_footer.h"

#include <QStringList>

#include "display/qt_text.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

QString PortItem(const char* langText, int nPort, int nLanguage)
{
    return ToQString(SubstitutePlaceholder(Utf8ToWide(ChooseLangText(langText, nLanguage)), nPort));
}

}  // namespace

QString InfoFooterText(const InfoFooter& footer, int nLanguage)
{
    QStringList items;
    if (!footer.bListening) {
        items << PortItem(LangText::kNotListening, footer.nPort, nLanguage);
    } else if (footer.nPort != kStandardPort) {
        items << PortItem(LangText::kListeningPort, footer.nPort, nLanguage);
    }
    return items.join(QStringLiteral("   "));
}
