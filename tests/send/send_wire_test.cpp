// What a well-formed command line puts on the wire: the display's own server records each
// message whole, so a test reads exactly the fields and the picture the display would get.
#include <json/reader.h>

#include <QBuffer>
#include <QImageReader>

#include <sstream>

#include "send_fixture.h"

namespace {

Json::Value ParseJson(const std::string& text)
{
    Json::Value value;
    std::istringstream in(text);
    in >> value;
    return value;
}

// An English locale, whatever the machine running the tests has.
const EnvChanges kEnglish{{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "en_GB.UTF-8"}};

struct RoundCase {
    const char* name;
    std::vector<std::string> args;
    // Members the message must hold, with their values; null for a member left out.
    const char* fields;
    EnvChanges env = kEnglish;
};

const RoundCase kRoundCases[] = {
    {"BareRoundGetsACentredReadableClock", {"round", "--length", "2700"},
     R"({"11":2700,"13":2700,"21":50,"22":50,"72":40,"31":"255,255,255","32":"255,255,255","33":"255,64,64",
         "99":1,"1":null,"2":null,"14":null,"16":null,"18":null,"26":null})"},
    {"EveryOptionUnderItsKey",
     {"round", "--title", "第3轮", "--subtitle", "Open pairs", "--remaining", "-30", "--length", "2700", "--boards",
      "1~3", "--caption", "Time", "--bar-top", "--clock-x", "0", "--clock-y", "100", "--clock-height", "100",
      "--clock-box", "--title-colour", "255,255,0", "--clock-colour", "0,128,255", "--overtime-colour", "255,0,0",
      "--lang", "1"},
     R"({"1":"第3轮","2":"Open pairs","11":-30,"13":2700,"14":"1~3","16":"Time","18":1,"21":null,"22":100,
         "72":100,"26":1,"31":"255,255,0","32":"0,128,255","33":"255,0,0","99":1})"},
    {"GnuForms", {"round", "--length=600", "--remaining=-5", "--clock-x=10", "--clock-height=5", "--title=A=B"},
     R"({"13":600,"11":-5,"21":10,"72":5,"1":"A=B"})"},
    {"ValuesMayBeginWithADash",
     {"round", "--length", "60", "--title", "-x", "--caption", "--bar-top", "--remaining", "-5"},
     R"({"1":"-x","16":"--bar-top","11":-5,"18":null})"},
    {"RemainingDefaultsToTheLength", {"round", "--length", "900"}, R"({"11":900,"13":900})"},
    {"RemainingAboveTheLengthIsARoundNotBegun", {"round", "--length", "900", "--remaining", "1000"},
     R"({"11":1000,"13":900})"},
    {"BoardsWithADashBecomeARange", {"round", "--length", "600", "--boards", "9-12"}, R"({"14":"9~12"})"},
    {"BoardsWithATildeStayARange", {"round", "--length", "600", "--boards", "9~12"}, R"({"14":"9~12"})"},
    {"BoardsDownwards", {"round", "--length", "600", "--boards", "12-9"}, R"({"14":"12~9"})"},
    {"BoardsListAndMixture", {"round", "--length", "600", "--boards", "1, 3 ,5-7;10~11"},
     R"({"14":"1,3,5~7,10~11"})"},
    {"BoardsTypedFullWidth", {"round", "--length", "600", "--boards", "１～４，７－８、９"}, R"({"14":"1~4,7~8,9"})"},
    {"BoardsEmptyMeansNone", {"round", "--length", "600", "--boards", ""}, R"({"14":null})"},
    {"ColourAsHex", {"round", "--length", "60", "--clock-colour", "#FF8000"}, R"({"32":"255,128,0"})"},
    {"ColourAsName", {"round", "--length", "60", "--title-colour", "DarkOrange", "--overtime-colour", "red"},
     R"({"31":"255,140,0","33":"255,0,0"})"},
    {"ColourWithSpaces", {"round", "--length", "60", "--clock-colour", "10, 20, 30"}, R"({"32":"10,20,30"})"},
    {"ChineseLocaleGivesChinese", {"round", "--length", "60"}, R"({"99":null})",
     {{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "zh_CN.UTF-8"}}},
    {"AnyChineseLocaleGivesChinese", {"round", "--length", "60"}, R"({"99":null})",
     {{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", "zh_TW.UTF-8"}}},
    {"LcAllOutranksLang", {"round", "--length", "60"}, R"({"99":1})",
     {{"LC_ALL", "en_US.UTF-8"}, {"LC_MESSAGES", std::nullopt}, {"LANG", "zh_CN.UTF-8"}}},
    {"NoLocaleGivesEnglish", {"round", "--length", "60"}, R"({"99":1})",
     {{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LANG", std::nullopt}}},
    {"LangOverridesTheLocale", {"round", "--length", "60", "--lang", "0"}, R"({"99":null})"},
    {"LangEnglishInAChineseLocale", {"round", "--length", "60", "--lang", "1"}, R"({"99":1})",
     {{"LC_ALL", "zh_CN.UTF-8"}}},
};

class SendRound : public testing::TestWithParam<RoundCase> {};

TEST_P(SendRound, CarriesTheFieldsAsTheDisplayReadsThem)
{
    RecordingDisplay display(kDisplayWidth, kDisplayHeight);
    ASSERT_NE(display.Port(), 0);
    std::vector<std::string> args{"--port", std::to_string(display.Port())};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    ExpectOutcome(RunSend(args, GetParam().env), {0, "", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    const Json::Value sent = ParseJson(msgs[0].json);
    EXPECT_EQ(sent["pub_MsgID"].asInt(), MSGID_ROUND_PAGE);
    const Json::Value expected = ParseJson(GetParam().fields);
    for (const std::string& key : expected.getMemberNames()) {
        if (expected[key].isNull()) {
            EXPECT_FALSE(sent.isMember(key)) << key << " in " << msgs[0].json;
        } else {
            EXPECT_EQ(sent[key], expected[key]) << key << " in " << msgs[0].json;
        }
    }
    EXPECT_TRUE(msgs[0].attachment.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SendRound, testing::ValuesIn(kRoundCases),
                         [](const auto& info) { return std::string(info.param.name); });

class SendWire : public testing::Test {
protected:
    std::vector<std::string> To(const RecordingDisplay& display, std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--port", std::to_string(display.Port())});
        return args;
    }

    ScratchDir m_scratch;
};

QImage Decode(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read();
}

TEST_F(SendWire, NoteFitSendsAPictureOfTheDisplaysSizeWithThePhotoCentredAndUndistorted)
{
    RecordingDisplay display(1920, 1080);
    const std::string photo = WritePicture(m_scratch.Path(), "portrait.png", HalvesPicture(800, 1200));
    ExpectOutcome(RunSend(To(display, {"note", "--fit", photo})), {0, "", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].json, "{\"pub_MsgID\":309}\n");
    EXPECT_EQ(msgs[1].json, "{\"pub_MsgID\":305}\n");
    const QImage sent = Decode(msgs[1].attachment);
    ASSERT_EQ(sent.size(), QSize(1920, 1080));
    // 800 x 1200 fills the height at 720 x 1080: columns 600 to 1319, halves at 960.
    struct Column {
        int x;
        QRgb colour;
    };
    const Column columns[] = {{0, 0x000000}, {599, 0x000000}, {601, 0xFF0000}, {958, 0xFF0000}, {961, 0x0000FF},
                              {1318, 0x0000FF}, {1320, 0x000000}, {1919, 0x000000}};
    for (const auto& [x, colour] : columns) {
        for (const int y : {0, 540, 1079}) {
            EXPECT_EQ(RgbAt(sent, x, y), colour) << x << "," << y;
        }
    }
}

TEST_F(SendWire, NoteFitOfALandscapePictureBarsTopAndBottomInTheBackground)
{
    RecordingDisplay display(1080, 1920);
    const std::string photo = WritePicture(m_scratch.Path(), "landscape.jpg", HalvesPicture(1200, 800), "JPEG");
    ExpectOutcome(RunSend(To(display, {"note", photo, "--fit", "--background=#102030", "--replace"})), {0, "", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[1].json, "{\"79\":1,\"pub_MsgID\":305}\n");
    const QImage sent = Decode(msgs[1].attachment);
    ASSERT_EQ(sent.size(), QSize(1080, 1920));
    // 1200 x 800 fills the width at 1080 x 720: rows 600 to 1319.
    EXPECT_EQ(RgbAt(sent, 540, 0), 0x102030u);
    EXPECT_EQ(RgbAt(sent, 540, 598), 0x102030u);
    EXPECT_EQ(RgbAt(sent, 540, 1321), 0x102030u);
    EXPECT_EQ(RgbAt(sent, 540, 1919), 0x102030u);
    EXPECT_EQ(qRed(sent.pixel(100, 960)) > 200 && qBlue(sent.pixel(100, 960)) < 60, true);
    EXPECT_EQ(qBlue(sent.pixel(980, 960)) > 200 && qRed(sent.pixel(980, 960)) < 60, true);
}

TEST_F(SendWire, NoteWithoutFitSendsTheFileAsItIs)
{
    RecordingDisplay display(1920, 1080);
    const std::string photo = WritePicture(m_scratch.Path(), "photo.png", HalvesPicture(80, 120));
    ExpectOutcome(RunSend(To(display, {"note", photo})), {0, "", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].json, "{\"pub_MsgID\":305}\n");
    EXPECT_EQ(msgs[0].attachment.toStdString(), ReadFile(photo));
}

TEST_F(SendWire, APictureSmallerThanTheDisplaysLeastAttachmentIsPaddedAndStillDecodes)
{
    RecordingDisplay display(1920, 1080);
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(qRgb(200, 30, 90));
    const std::string path = WritePicture(m_scratch.Path(), "dot.png", dot);
    const std::string bytes = ReadFile(path);
    ASSERT_LT(bytes.size(), 100u);
    ExpectOutcome(RunSend(To(display, {"note", path})), {0, "", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 1u);
    ASSERT_EQ(msgs[0].attachment.size(), 100);
    EXPECT_EQ(msgs[0].attachment.left(static_cast<qsizetype>(bytes.size())).toStdString(), bytes);
    EXPECT_EQ(RgbAt(Decode(msgs[0].attachment), 0, 0), 0xC81E5Au);
}

TEST_F(SendWire, NoteFitOnADisplayWithoutASizeFails)
{
    RecordingDisplay display(0, 0);
    const std::string photo = WritePicture(m_scratch.Path(), "photo.png", HalvesPicture(80, 120));
    ExpectOutcome(RunSend(To(display, {"note", "--fit", photo})), {1, "", "reports a screen of 0x0"});
    ASSERT_EQ(display.Messages().size(), 1u);
}

TEST_F(SendWire, RawSendsTheObjectWithItsAttachmentAndPrintsTheReply)
{
    RecordingDisplay display(1920, 1080);
    const std::string attach = WriteScratch(m_scratch.Path(), "raw.bin", std::string(120, 'x'));
    ExpectOutcome(RunSend(To(display, {"raw", "{\"pub_MsgID\":400, /* kept */ \"5\":\"x\"}", "--attach", attach})),
                  {0, "", ""});
    ExpectOutcome(RunSend(To(display, {"raw", "{\"pub_MsgID\":309}"})),
                  {0, "{\"71\":1920,\"72\":1080,\"pub_MsgID\":309}\n", ""});
    const auto msgs = display.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].json, "{\"5\":\"x\",\"pub_MsgID\":400}\n");
    EXPECT_EQ(msgs[0].attachment, QByteArray(120, 'x'));
}

}  // namespace
