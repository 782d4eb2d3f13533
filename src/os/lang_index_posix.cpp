#include "lang_index.h"

#include <cstdlib>

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
