#include "os/lang_index.h"

#include <gtest/gtest.h>

namespace {

struct LocaleCase {
    const char* locale;
    int index;
};

class LangIndexOfLocaleTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(LangIndexOfLocaleTest, ChineseOnlyForSimplifiedChinese)
{
    EXPECT_EQ(LangIndexOfLocale(GetParam().locale), GetParam().index) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(Locales, LangIndexOfLocaleTest,
                         testing::Values(LocaleCase{"zh_CN.UTF-8", 0}, LocaleCase{"zh_CN", 0},
                                         LocaleCase{"zh_CN.GB18030", 0}, LocaleCase{"zh_SG.UTF-8", 0},
                                         LocaleCase{"zh_Hans", 0}, LocaleCase{"zh_Hans_CN.UTF-8", 0},
                                         LocaleCase{"zh-Hans", 0}, LocaleCase{"zh_TW.UTF-8", 1},
                                         LocaleCase{"zh_HK.UTF-8", 1}, LocaleCase{"zh_Hant_TW", 1},
                                         LocaleCase{"zh", 1}, LocaleCase{"en_US.UTF-8", 1},
                                         LocaleCase{"de_CH.UTF-8", 1}, LocaleCase{"C", 1},
                                         LocaleCase{"C.UTF-8", 1}, LocaleCase{"POSIX", 1}, LocaleCase{"", 1}));

}  // namespace
