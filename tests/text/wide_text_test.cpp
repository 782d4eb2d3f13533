#include "text/wide_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Runs the conversion and returns what it wrote on standard error.
std::string ConvertCapturingStderr(const std::string& text, std::u16string& result)
{
    testing::internal::CaptureStderr();
    result = Utf8ToWide(text);
    return testing::internal::GetCapturedStderr();
}

struct ValidCase {
    std::string name;
    std::string utf8;
    std::u16string expected;
};

class Utf8ToWideValidTest : public testing::TestWithParam<ValidCase> {};

TEST_P(Utf8ToWideValidTest, DecodesWithoutComplaint)
{
    std::u16string result;
    const std::string err = ConvertCapturingStderr(GetParam().utf8, result);
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_EQ(err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Valid, Utf8ToWideValidTest,
    testing::Values(ValidCase{"Empty", "", u""}, ValidCase{"Ascii", "No 7 board", u"No 7 board"},
                    ValidCase{"Chinese", "第一轮 行", u"第一轮 行"},
                    ValidCase{"LargestTwoByte", "\xDF\xBF", u"\u07FF"},
                    ValidCase{"LargestThreeByte", "\xEF\xBF\xBF", u"\uFFFF"},
                    ValidCase{"JustBelowSurrogates", "\xED\x9F\xBF", u"\uD7FF"},
                    ValidCase{"JustAboveSurrogates", "\xEE\x80\x80", u"\uE000"},
                    ValidCase{"ByteOrderMarkKept", "\xEF\xBB\xBFx", u"\uFEFFx"},
                    ValidCase{"EmbeddedNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    ValidCase{"SmallestFourByteIsPair", "\xF0\x90\x80\x80", u"\xD800\xDC00"},
                    ValidCase{"EmojiIsPair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
                    ValidCase{"LargestCodePointIsPair", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"}),
    [](const testing::TestParamInfo<ValidCase>& info) { return info.param.name; });

struct InvalidCase {
    std::string name;
    std::string utf8;
};

class Utf8ToWideInvalidTest : public testing::TestWithParam<InvalidCase> {};

TEST_P(Utf8ToWideInvalidTest, GivesEmptyTextAndOneErrorLine)
{
    std::u16string result = u"not touched";
    const std::string err = ConvertCapturingStderr(GetParam().utf8, result);
    EXPECT_EQ(result, u"");
    EXPECT_EQ(err.rfind("Conversion error: ", 0), 0u) << err;
    EXPECT_GT(err.size(), std::string("Conversion error: \n").size()) << "the reason is missing";
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "exactly one line: " << err;
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, Utf8ToWideInvalidTest,
    testing::Values(InvalidCase{"OverlongNul", "\xC0\x80"}, InvalidCase{"OverlongTwoByte", "a\xC1\xBF"},
                    InvalidCase{"OverlongThreeByte", "\xE0\x9F\xBF"}, InvalidCase{"OverlongFourByte", "\xF0\x8F\xBF\xBF"},
                    InvalidCase{"HighSurrogate", "\xED\xA0\x80"}, InvalidCase{"LowSurrogate", "\xED\xBF\xBF"},
                    InvalidCase{"EncodedSurrogatePair", "\xED\xA0\xBD\xED\xB8\x80"},
                    InvalidCase{"PastMaximum", "\xF4\x90\x80\x80"}, InvalidCase{"LeadF5", "\xF5\x80\x80\x80"},
                    InvalidCase{"LeadF8", "\xF8\x88\x80\x80\x80"}, InvalidCase{"LeadFF", "\xFF"},
                    InvalidCase{"LoneContinuation", "ab\x80"},
                    InvalidCase{"TruncatedTwoByte", "ab\xC3"}, InvalidCase{"TruncatedThreeByte", "\xE8\xA1"},
                    InvalidCase{"TruncatedFourByte", "\xF0\x9F\x98"},
                    InvalidCase{"ContinuationMissingMidText", "\xE8\xA1x\xE8\xA1\x8C"},
                    InvalidCase{"Latin1", "caf\xE9"}),
    [](const testing::TestParamInfo<InvalidCase>& info) { return info.param.name; });

TEST(WideToUtf8Test, ReversesTheDecodingAndMarksLoneSurrogates)
{
    const std::string text = "第%1副 No \xF0\x9F\x98\x80 board";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(text)), text);
    EXPECT_EQ(WideToUtf8(u"a\xD800" u"b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(WideToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

struct IntCase {
    int n;
    std::string expected;
};

class IntToTextTest : public testing::TestWithParam<IntCase> {};

TEST_P(IntToTextTest, PlainDecimalDigits)
{
    EXPECT_EQ(IntToText(GetParam().n), GetParam().expected);
    EXPECT_EQ(WideToUtf8(IntToWide(GetParam().n)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, IntToTextTest,
                         testing::Values(IntCase{0, "0"}, IntCase{-12, "-12"}, IntCase{1000, "1000"},
                                         IntCase{7, "7"}, IntCase{INT_MAX, "2147483647"},
                                         IntCase{INT_MIN, "-2147483648"}));

struct PlaceholderCase {
    std::u16string text;
    int n;
    std::u16string expected;
};

class SubstitutePlaceholderTest : public testing::TestWithParam<PlaceholderCase> {};

TEST_P(SubstitutePlaceholderTest, ReplacesEveryPlaceholderOnce)
{
    EXPECT_EQ(SubstitutePlaceholder(GetParam().text, GetParam().n), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, SubstitutePlaceholderTest,
                         testing::Values(PlaceholderCase{u"No %1 board", 7, u"No 7 board"},
                                         PlaceholderCase{u"第%1副", 12, u"第12副"},
                                         PlaceholderCase{u"%1 and %1", 3, u"3 and 3"},
                                         PlaceholderCase{u"%12", 7, u"72"}, PlaceholderCase{u"%1%1", 5, u"55"},
                                         PlaceholderCase{u"%%11", 4, u"%41"}, PlaceholderCase{u"%2 %", 4, u"%2 %"},
                                         PlaceholderCase{u"no placeholder", 4, u"no placeholder"},
                                         PlaceholderCase{u"", 4, u""}, PlaceholderCase{u"%1", -5, u"-5"},
                                         PlaceholderCase{u"当前进度:%1", INT_MIN, u"当前进度:-2147483648"}));

}  // namespace
