#include "lang_index.h"

#include <cstdlib>
#include <string>

int LangIndexOfLocale(std::string_view locale)
{
    // Simplified Chinese only: mainland China, Singapore, or an explicit Hans script.
    if (locale.starts_with("zh_CN") || locale.starts_with("zh_SG") || locale.starts_with("zh_Hans") ||
        locale.starts_with("zh-CN") || locale.starts_with("zh-SG") || locale.starts_with("zh-Hans")) {
        return 0;
    }
    return 1;
}

int WindowLangIndex()
{
    // The same precedence as the C library: LC_ALL, then LC_MESSAGES, then LANG.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return LangIndexOfLocale(value);
        }
    }
    return 1;
}
