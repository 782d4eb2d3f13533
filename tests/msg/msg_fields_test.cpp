#include "msg/msg_fields.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "msg/comm_msg.h"

namespace {

// A message whose member "5" holds the given JSON value.
class MemberFixture {
public:
    explicit MemberFixture(const std::string& json)
    {
        m_msg.ResetMsg(0);
        m_msg.FromJsonText(json.empty() ? "{}" : "{\"5\":" + json + "}");
    }
    const CommMsg_base& Msg() const { return m_msg; }

private:
    CommMsg_base m_msg;
};

struct IntCase {
    std::string json;  // empty: no member at all
    int expected;
};

class GetIntFieldTest : public testing::TestWithParam<IntCase> {};

TEST_P(GetIntFieldTest, ReadsAsTheLibraryConvertsOrZero)
{
    const MemberFixture m(GetParam().json);
    EXPECT_EQ(GetIntField(m.Msg(), 5), GetParam().expected) << GetParam().json;
    EXPECT_EQ(GetIntByName(m.Msg(), "5"), GetParam().expected) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetIntFieldTest,
    testing::Values(IntCase{"", 0}, IntCase{"null", 0}, IntCase{"42", 42}, IntCase{"-42", -42}, IntCase{"3.9", 3},
                    IntCase{"-3.9", -3}, IntCase{"1.5e2", 150}, IntCase{"true", 1}, IntCase{"false", 0},
                    IntCase{"2147483647", INT_MAX}, IntCase{"-2147483648", INT_MIN},
                    IntCase{"2147483647.0", INT_MAX}, IntCase{"-2147483648.0", INT_MIN},
                    // Not convertible to an int: reads as 0 instead of throwing.
                    IntCase{"2147483647.5", 0}, IntCase{"-2147483648.5", 0}, IntCase{"2147483648", 0}, IntCase{"-2147483649", 0}, IntCase{"4294967296", 0},
                    IntCase{"18446744073709551615", 0}, IntCase{"-9223372036854775808", 0},
                    IntCase{"2147483648.0", 0}, IntCase{"1e10", 0}, IntCase{"-1e10", 0}, IntCase{"1e400", 0},
                    IntCase{"-1e400", 0}, IntCase{"\"12\"", 0}, IntCase{"\"\"", 0}, IntCase{"[1]", 0},
                    IntCase{"[]", 0}, IntCase{"{\"a\":1}", 0}, IntCase{"{}", 0}));

TEST(GetIntByNameTest, IdentifierThatIsNotANumberReadsAsZero)
{
    for (const char* json : {R"({"pub_MsgID":"309"})", R"({"pub_MsgID":[309]})", R"({"pub_MsgID":{"a":309}})",
                             R"({"pub_MsgID":3000000000})"}) {
        CommMsg_base msg;
        msg.FromJsonText(json);
        EXPECT_EQ(GetIntByName(msg, kMsgIdKey), 0) << json;
    }
    CommMsg_base msg;
    msg.FromJsonText(R"({"pub_MsgID":309.0})");
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), 309);
}

struct BoolCase {
    std::string json;
    bool expected;
};

class GetBoolFieldTest : public testing::TestWithParam<BoolCase> {};

TEST_P(GetBoolFieldTest, TrueOnlyForAPositiveInteger)
{
    const MemberFixture m(GetParam().json);
    EXPECT_EQ(GetBoolField(m.Msg(), 5), GetParam().expected) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(Values, GetBoolFieldTest,
                         testing::Values(BoolCase{"1", true}, BoolCase{"7", true}, BoolCase{"2147483647", true},
                                         BoolCase{"", false}, BoolCase{"null", false}, BoolCase{"0", false},
                                         BoolCase{"-1", false}, BoolCase{"1.5", false}, BoolCase{"1.0", false},
                                         BoolCase{"1e0", false}, BoolCase{"true", false}, BoolCase{"false", false},
                                         BoolCase{"\"1\"", false}, BoolCase{"[1]", false}, BoolCase{"{}", false},
                                         BoolCase{"2147483648", false}, BoolCase{"-2147483648", false}));

struct StringCase {
    std::string json;
    std::string expected;
};

class GetStringFieldTest : public testing::TestWithParam<StringCase> {};

TEST_P(GetStringFieldTest, TextOfAStringMemberOnly)
{
    const MemberFixture m(GetParam().json);
    EXPECT_EQ(GetStringField(m.Msg(), 5), GetParam().expected) << GetParam().json;
    EXPECT_EQ(GetStringByName(m.Msg(), "5"), GetParam().expected) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(Values, GetStringFieldTest,
                         testing::Values(StringCase{"\"A\"", "A"}, StringCase{"\"第一轮\"", "第一轮"},
                                         StringCase{"\"\\u7b2c1\"", "第1"}, StringCase{"\"\"", ""},
                                         StringCase{"\"a\\u0000b\"", "a"}, StringCase{"", ""},
                                         StringCase{"null", ""}, StringCase{"5", ""}, StringCase{"1.5", ""},
                                         StringCase{"true", ""}, StringCase{"[\"A\"]", ""},
                                         StringCase{"{\"5\":\"A\"}", ""}));

// A root that is not an object reads every member as missing.
class NonObjectRootTest : public testing::TestWithParam<std::string> {};

TEST_P(NonObjectRootTest, ReadsEveryMemberAsMissing)
{
    CommMsg_base msg;
    msg.ResetMsg(0);
    msg.FromJsonText(GetParam());
    for (int key : {0, 1, 5, 71}) {
        EXPECT_EQ(GetIntField(msg, key), 0) << key;
        EXPECT_FALSE(GetBoolField(msg, key)) << key;
        EXPECT_EQ(GetStringField(msg, key), "") << key;
    }
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), 0);
    EXPECT_EQ(GetStringByName(msg, kMsgIdKey), "");
}

INSTANTIATE_TEST_SUITE_P(Roots, NonObjectRootTest,
                         testing::Values("5", "-3.5", "\"pub_MsgID\"", "true", "null", "[1,2,3]",
                                         "[\"A\",\"B\"]", "[]", ""));

TEST(SetIntFieldTest, WritesNonZeroAndRemovesOnZero)
{
    CommMsg_base msg;
    msg.ResetMsg(303);
    SetIntField(msg, 11, -90);
    SetIntField(msg, 13, INT_MIN);
    EXPECT_EQ(GetIntField(msg, 11), -90);
    EXPECT_EQ(GetIntField(msg, 13), INT_MIN);
    EXPECT_TRUE(msg.isMember("11")) << "keys are plain decimal text";

    SetIntField(msg, 11, 0);
    EXPECT_FALSE(msg.isMember("11"));
    SetIntByName(msg, "missing", 0);
    EXPECT_FALSE(msg.isMember("missing"));
}

TEST(SetIntFieldTest, ReplacesAMemberOfAnotherType)
{
    CommMsg_base msg;
    msg.FromJsonText(R"({"11":"text","13":[1,2]})");
    SetIntField(msg, 11, 5);
    SetIntField(msg, 13, 0);
    EXPECT_EQ(GetIntField(msg, 11), 5);
    EXPECT_FALSE(msg.isMember("13"));
}

TEST(SetIntFieldTest, ANonObjectRootBecomesAMessage)
{
    for (const char* root : {"5", "[1,2]", "\"x\""}) {
        CommMsg_base msg;
        msg.FromJsonText(root);
        SetIntField(msg, 71, 0);
        SetIntField(msg, 72, 1080);
        EXPECT_EQ(GetIntField(msg, 72), 1080) << root;
    }
}

struct ColourCase {
    std::string text;
    COLORREF expected;
};

class TextToColorTest : public testing::TestWithParam<ColourCase> {};

TEST_P(TextToColorTest, ReadsThreeNumbersAsAtoiDoes)
{
    EXPECT_EQ(TextToColor(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToColorTest,
    testing::Values(ColourCase{"255,0,0", RGB(255, 0, 0)}, ColourCase{" 10, 20, 30", RGB(10, 20, 30)},
                    ColourCase{"255,128", RGB(255, 128, 0)}, ColourCase{"", RGB(0, 0, 0)},
                    ColourCase{"300,abc,-1", RGB(44, 0, 255)}, ColourCase{"1,2,3,4", RGB(1, 2, 3)},
                    ColourCase{"1,2,3,abc", RGB(1, 2, 3)}, ColourCase{"256,512,-256", RGB(0, 0, 0)},
                    ColourCase{"+5,\t6,\n\v\f\r7", RGB(5, 6, 7)}, ColourCase{"12abc,3x,4 5", RGB(12, 3, 4)},
                    ColourCase{",,9", RGB(0, 0, 9)}, ColourCase{"-0,- 1,+-2", RGB(0, 0, 0)},
                    ColourCase{"007,0010,255", RGB(7, 10, 255)}, ColourCase{"4294967297,1,1", RGB(1, 1, 1)},
                    // Far past any integer type, yet still the number modulo 256 (10^26 - 1 ends in 0xFF).
                    ColourCase{"99999999999999999999999999,1,2", RGB(255, 1, 2)}));

}  // namespace
