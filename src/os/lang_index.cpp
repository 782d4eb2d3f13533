#include "lang_index.h"

int LangIndexOfLocale(std::string_view locale)
{
    // Simplified Chinese only: mainland China, Singapore, or an explicit Hans script.
    if (locale.starts_with("zh_CN") || locale.starts_with("zh_SG") || locale.starts_with("zh_Hans") ||
        locale.starts_with("zh-CN") || locale.starts_with("zh-SG") || locale.starts_with("zh-Hans")) {
        return 0;
    }
    return 1;
}
