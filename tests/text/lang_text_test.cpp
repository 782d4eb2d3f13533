#include "text/lang_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PartCase {
    std::string text;
    std::string separator;
    int index;
    std::string expected;
};

class TextPartTest : public testing::TestWithParam<PartCase> {};

TEST_P(TextPartTest, PicksTheIndexedPart)
{
    const PartCase& c = GetParam();
    EXPECT_EQ(TextPart(c.text, c.separator, c.index), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Parts, TextPartTest,
                         testing::Values(PartCase{"a||b||c", "||", 0, "a"}, PartCase{"a||b||c", "||", 2, "c"},
                                         PartCase{"a||b||c", "||", 3, ""}, PartCase{"a||b||c", "||", -1, ""},
                                         PartCase{"||b", "||", 0, ""}, PartCase{"a||", "||", 1, ""},
                                         PartCase{"a||||b", "||", 1, ""}, PartCase{"a||||b", "||", 2, "b"},
                                         PartCase{"", "||", 0, ""}, PartCase{"x,y", ",", 1, "y"},
                                         PartCase{"a|b||c", "||", 0, "a|b"}, PartCase{"a|||b", "||", 1, "|b"},
                                         // An empty separator cannot split; it must not hang either.
                                         PartCase{"abc", "", 0, "abc"}, PartCase{"abc", "", 1, ""}));

struct ChooseCase {
    std::string text;
    int index;
    std::string expected;
};

class ChooseLangTextTest : public testing::TestWithParam<ChooseCase> {};

TEST_P(ChooseLangTextTest, ChoosesThePartOrFallsBackToTheWholeText)
{
    const ChooseCase& c = GetParam();
    EXPECT_EQ(ChooseLangText(c.text, c.index), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fallbacks, ChooseLangTextTest,
    testing::Values(ChooseCase{LangText::kProgress, 0, "当前进度:%1"},
                    ChooseCase{LangText::kProgress, 1, "Current progress:%1"},
                    ChooseCase{LangText::kProgress, 2, "<其它>"},
                    ChooseCase{LangText::kProgress, 3, LangText::kProgress},
                    ChooseCase{LangText::kProgress, -1, LangText::kProgress}, ChooseCase{"abc", 0, "abc"},
                    ChooseCase{"abc", 1, "abc"}, ChooseCase{"||English", 0, "||English"},
                    ChooseCase{"||English", 1, "English"}, ChooseCase{"Chinese||", 0, "Chinese"},
                    ChooseCase{"Chinese||", 1, "Chinese||"}, ChooseCase{"a||||b", 1, "a||||b"},
                    ChooseCase{"a||||b", 2, "b"}, ChooseCase{"", 0, "Text error!"}, ChooseCase{"", 1, "Text error!"},
                    ChooseCase{"", -7, "Text error!"}));

// The built-in texts keep their exact bytes: an ASCII colon, a leading space in the
// English title, three trailing spaces in the menu items.
INSTANTIATE_TEST_SUITE_P(
    BuiltInTexts, ChooseLangTextTest,
    testing::Values(ChooseCase{LangText::kBoard, 0, "第%1副"}, ChooseCase{LangText::kBoard, 1, "No %1 board"},
                    ChooseCase{LangText::kTitle, 0, "Velmor大屏显示"},
                    ChooseCase{LangText::kTitle, 1, " Quendal screen display"},
                    ChooseCase{LangText::kScreenSize, 0, "屏幕大小="}, ChooseCase{LangText::kScreenSize, 1, "Screen size="},
                    ChooseCase{LangText::kRightClickHint, 0, "点右键切换到全屏"},
                    ChooseCase{LangText::kRightClickHint, 1, "Right click to full screen."},
                    ChooseCase{LangText::kMenuFullScreen, 0, "全屏   "},
                    ChooseCase{LangText::kMenuFullScreen, 1, "Full screen   "},
                    ChooseCase{LangText::kMenuExit, 0, "退出   "}, ChooseCase{LangText::kMenuExit, 1, "Exit   "},
                    ChooseCase{LangText::kMenuExit, 2, "<其它>"}));

}  // namespace
