#include "msg/comm_msg.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "msg/msg_fields.h"
#include "msg/msg_ids.h"

namespace {

// A message parsed from the given text, as the receive side gets it.
void Parse(CommMsg_base& msg, const std::string& text)
{
    msg.ResetMsg(0);
    msg.FromJsonText(text);
}

TEST(CommMsgTest, FreshMessageIsNullWithoutAttachment)
{
    CommMsg_base msg;
    EXPECT_TRUE(msg.isNull());
    EXPECT_EQ(msg.m_pAttach, nullptr);
    EXPECT_EQ(msg.m_nAttachLen, 0);
    EXPECT_EQ(msg.ToJsonText(), "null\n");
}

TEST(CommMsgTest, ScreenSizeReplySerialisesCompactlyInKeyOrder)
{
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, 1920);
    SetIntField(reply, MsgKey::kScreenHeight, 1080);
    const std::string text = reply.ToJsonText();
    EXPECT_EQ(text, "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n");
    EXPECT_EQ(text.size(), 38u);
}

TEST(CommMsgTest, ZeroWidthLeavesTheMemberOut)
{
    CommMsg_base reply;
    reply.ResetMsg(MSGID_SCREEN_SIZE);
    SetIntField(reply, MsgKey::kScreenWidth, 0);
    SetIntField(reply, MsgKey::kScreenHeight, 0);
    EXPECT_EQ(reply.ToJsonText(), "{\"pub_MsgID\":309}\n");
    EXPECT_EQ(GetIntField(reply, MsgKey::kScreenWidth), 0);
}

TEST(CommMsgTest, ResetMsgDropsMembersAndAttachmentButKeepsTheObject)
{
    CommMsg_base msg;
    Parse(msg, R"({"pub_MsgID":303,"1":"A","11":1500})");
    const std::vector<std::uint8_t> picture(120, 0xAB);
    msg.SetAttachment(picture.data(), static_cast<int>(picture.size()));

    msg.ResetMsg(0);
    EXPECT_EQ(msg.ToJsonText(), "{}\n");
    EXPECT_EQ(msg.m_pAttach, nullptr);
    EXPECT_EQ(msg.m_nAttachLen, 0);

    msg.ResetMsg(MSGID_CLEAR);
    EXPECT_EQ(msg.ToJsonText(), "{\"pub_MsgID\":301}\n");
}

TEST(CommMsgTest, ResetMsgWithAnIdentifierTurnsAnyRootIntoAMessage)
{
    for (const char* root : {"5", "\"text\"", "[1,2]", "true", "null"}) {
        CommMsg_base msg;
        Parse(msg, root);
        msg.ResetMsg(MSGID_SCREEN_SIZE);
        EXPECT_EQ(GetIntByName(msg, kMsgIdKey), MSGID_SCREEN_SIZE) << root;
    }
}

// The fast writer may escape non-ASCII text; whatever it writes must read back the same.
TEST(CommMsgTest, TextSurvivesWritingAndReadingBack)
{
    CommMsg_base msg;
    Parse(msg, "{\"pub_MsgID\":303,\"1\":\"第3轮 \xF0\x9F\x98\x80\",\"14\":\"1-3\\n\\\"x\\\"\"}");
    CommMsg_base back;
    Parse(back, msg.ToJsonText());
    EXPECT_EQ(GetStringField(back, MsgKey::kTitle), "第3轮 \xF0\x9F\x98\x80");
    EXPECT_EQ(GetStringField(back, MsgKey::kBoards), "1-3\n\"x\"");
    EXPECT_EQ(back.ToJsonText(), msg.ToJsonText());
}

struct ParseCase {
    std::string name;
    std::string text;
    int msgId;
    std::string title;
};

class FromJsonTextTest : public testing::TestWithParam<ParseCase> {};

TEST_P(FromJsonTextTest, KeepsWhatTheReaderRead)
{
    const ParseCase& c = GetParam();
    CommMsg_base msg;
    Parse(msg, c.text);
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), c.msgId);
    EXPECT_EQ(GetStringField(msg, MsgKey::kTitle), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FromJsonTextTest,
    testing::Values(ParseCase{"Plain", R"({"pub_MsgID":303,"1":"A"})", 303, "A"},
                    ParseCase{"BlockComment", R"({"pub_MsgID":303,/* note */"1":"A"})", 303, "A"},
                    ParseCase{"LineComments", "// from the scorer\n{\"pub_MsgID\":303, // id\n\"1\":\"A\"}\n", 303, "A"},
                    ParseCase{"Whitespace", " \r\n\t{ \"pub_MsgID\" : 305 }  ", 305, ""},
                    ParseCase{"CutAfterIdentifier", R"({"pub_MsgID":303,"1":"A)", 303, ""},
                    ParseCase{"CutInsideKey", R"({"pub_MsgID":309,"7)", 309, ""},
                    ParseCase{"CutAfterColon", R"({"pub_MsgID":301,"1":)", 301, ""},
                    ParseCase{"GarbageAfterMembers", R"({"1":"A","pub_MsgID":303 garbage)", 303, "A"},
                    ParseCase{"NotJson", "hello", 0, ""}, ParseCase{"Empty", "", 0, ""},
                    ParseCase{"OnlyComment", "/* nothing */", 0, ""},
                    ParseCase{"UnclosedComment", "{\"pub_MsgID\":303} /* open", 303, ""},
                    ParseCase{"RootArray", R"([{"pub_MsgID":303}])", 0, ""},
                    ParseCase{"RootNumber", "303", 0, ""}, ParseCase{"RootString", "\"303\"", 0, ""}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(FromJsonTextTest, ReplacesTheMembersOfAnEarlierParse)
{
    CommMsg_base msg;
    Parse(msg, R"({"pub_MsgID":303,"1":"A"})");
    msg.FromJsonText(R"({"2":"B"})");
    EXPECT_EQ(GetIntByName(msg, kMsgIdKey), 0);
    EXPECT_EQ(GetStringField(msg, MsgKey::kTitle), "");
    EXPECT_EQ(GetStringField(msg, MsgKey::kSubtitle), "B");
}

TEST(FromJsonTextTest, LeavesTheAttachmentAlone)
{
    CommMsg_base msg;
    const std::vector<std::uint8_t> picture(100, 7);
    msg.SetAttachment(picture.data(), 100);
    msg.FromJsonText(R"({"pub_MsgID":305})");
    ASSERT_EQ(msg.m_nAttachLen, 100);
    EXPECT_EQ(msg.m_pAttach[99], 7);
}

// The reader throws past its nesting limit; the message must keep what it had read.
TEST(FromJsonTextTest, NestingDeeperThanTheReaderAllowsNeitherThrowsNorLosesTheIdentifier)
{
    for (int depth : {999, 1001, 5000, 100000}) {
        const std::string deep = R"({"pub_MsgID":303,"1":"A","2":)" + std::string(depth, '[') + std::string(depth, ']') + "}";
        CommMsg_base msg;
        EXPECT_NO_THROW(Parse(msg, deep)) << depth;
        EXPECT_EQ(GetIntByName(msg, kMsgIdKey), 303) << depth;
        EXPECT_EQ(GetStringField(msg, MsgKey::kTitle), "A") << depth;
        EXPECT_NO_THROW(msg.ToJsonText()) << depth;

        std::string objects;
        for (int i = 0; i < depth; ++i) {
            objects += R"({"1":)";
        }
        EXPECT_NO_THROW(Parse(msg, objects)) << depth;
    }
}

TEST(SetAttachmentTest, KeepsItsOwnCopy)
{
    CommMsg_base msg;
    std::vector<std::uint8_t> picture(150);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(i);
    }
    msg.SetAttachment(picture.data(), 150);
    picture.assign(picture.size(), 0);
    ASSERT_EQ(msg.m_nAttachLen, 150);
    EXPECT_EQ(msg.m_pAttach[0], 0);
    EXPECT_EQ(msg.m_pAttach[149], 149);

    const std::vector<std::uint8_t> second(100, 9);
    msg.SetAttachment(second.data(), 100);
    ASSERT_EQ(msg.m_nAttachLen, 100);
    EXPECT_EQ(msg.m_pAttach[0], 9);
}

TEST(SetAttachmentTest, OddLengthsLeaveNoUnsetBytes)
{
    CommMsg_base msg;
    msg.SetAttachment(nullptr, 0);
    EXPECT_NE(msg.m_pAttach, nullptr) << "a block of zero bytes";
    EXPECT_EQ(msg.m_nAttachLen, 0);

    msg.SetAttachment(nullptr, -5);
    EXPECT_EQ(msg.m_pAttach, nullptr);
    EXPECT_EQ(msg.m_nAttachLen, 0);

    msg.SetAttachment(nullptr, 4);
    ASSERT_EQ(msg.m_nAttachLen, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(msg.m_pAttach[i], 0);
    }
}

}  // namespace
