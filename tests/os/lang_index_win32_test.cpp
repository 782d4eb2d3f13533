// Windows takes the window's language from the system's OEM code page alone.
#include "os/lang_index.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(WindowLangIndexWin32, LocaleVariablesDoNotCount)
{
    const int before = WindowLangIndex();
    for (const char* locale : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            _putenv_s(name, locale);
        }
        EXPECT_EQ(WindowLangIndex(), before) << locale;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        _putenv_s(name, "");
    }
}

}  // namespace
