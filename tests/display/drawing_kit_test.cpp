#include <QFontInfo>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/drawing/colour_math.h"
#include "display/drawing/draw_kit.h"
#include "display/drawing/font_cache.h"
#include "os/clock.h"
#include "draw/gdi_dc.h"
#include "draw/qt/qt_font.h"
#include "draw/gdi_font.h"
#include "draw/gdi_saved_state.h"
#include "render_support.h"
#include "text/wide_text.h"

namespace {

const std::u16string kFace = u"微软雅黑";
constexpr COLORREF kGround = RGB(72, 96, 139);

class CellHeightTest : public ::testing::TestWithParam<int> {};

TEST_P(CellHeightTest, AscentPlusDescentIsTheAskedHeight)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(GetParam(), FW_NORMAL, false, false, kFace));
    EXPECT_EQ(font.CellHeight(), GetParam());
    EXPECT_EQ(font.NativeFont().metrics.ascent() + font.NativeFont().metrics.descent(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(ScreenHeights, CellHeightTest, ::testing::Values(18, 54, 94, 113, 119, 153, 202, 432, 1080));

TEST(CFont, FacesAreSubstitutedAndMissingOnesFallBackToChineseGlyphs)
{
    EXPECT_EQ(SubstituteFace(u"微软雅黑"), u"WenQuanYi Micro Hei");
    EXPECT_EQ(SubstituteFace(u"宋体"), u"WenQuanYi Micro Hei");
    EXPECT_EQ(SubstituteFace(u"DejaVu Sans"), u"DejaVu Sans");

    for (const std::u16string& face : {kFace, std::u16string(u"No Such Face Anywhere")}) {
        CFont font;
        ASSERT_TRUE(font.CreateFont(60, FW_HEAVY, true, true, face));
        EXPECT_EQ(QFontInfo(font.NativeFont().font).family(), QStringLiteral("WenQuanYi Micro Hei")) << WideToUtf8(face);
        EXPECT_TRUE(font.NativeFont().metrics.inFont(QChar(u'屏')));
        EXPECT_EQ(font.NativeFont().font.weight(), QFont::Black);
        EXPECT_TRUE(font.NativeFont().font.italic());
        EXPECT_TRUE(font.NativeFont().font.underline());
    }
}

class FontCacheTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::Set(DateTime::FromLocal(2026, 3, 14, 15, 0, 0)); }
    void TearDown() override { Clock::UseSystemTime(); }
    FontCache m_cache;
};

TEST_F(FontCacheTest, FallsFrom31EntriesTo29DroppingTheLeastRecentlyUsed)
{
    std::vector<CFont*> fonts;
    for (int h = 10; h < 41; ++h) {
        fonts.push_back(m_cache.GetFont(FontDesc(h, kFace)));
        Clock::Advance(1);
        // Using the first again while there is room makes the second the oldest.
        if (h == 39) {
            EXPECT_EQ(m_cache.GetFont(FontDesc(10, kFace)), fonts[0]);
        }
    }
    EXPECT_EQ(m_cache.Count(), 31);

    m_cache.GetFont(FontDesc(41, kFace));
    EXPECT_EQ(m_cache.Count(), 30);
    EXPECT_EQ(m_cache.GetFont(FontDesc(10, kFace)), fonts[0]);
    EXPECT_EQ(m_cache.GetFont(FontDesc(13, kFace)), fonts[3]);
    EXPECT_EQ(m_cache.Count(), 30);
    EXPECT_NE(m_cache.GetFont(FontDesc(11, kFace)), fonts[1]);
    EXPECT_EQ(m_cache.Count(), 31);
    EXPECT_NE(m_cache.GetFont(FontDesc(12, kFace)), fonts[2]);
    m_cache.FreeEvicted();
}

TEST_F(FontCacheTest, AmongEqualStampsTheOldestEntryGoesFirst)
{
    std::vector<CFont*> fonts;
    for (int h = 10; h < 42; ++h) fonts.push_back(m_cache.GetFont(FontDesc(h, kFace)));
    EXPECT_EQ(m_cache.Count(), 30);
    EXPECT_EQ(m_cache.GetFont(FontDesc(12, kFace)), fonts[2]);
    EXPECT_EQ(m_cache.Count(), 30);
    // Evicted fonts stay usable until the repaint is over.
    EXPECT_FALSE(fonts[0]->IsNull());
    m_cache.FreeEvicted();
}

TEST_F(FontCacheTest, FacesDifferingOnlyInAsciiCaseShareAFont)
{
    CFont* font = m_cache.GetFont(FontDesc(30, u"DejaVu Sans"));
    EXPECT_EQ(m_cache.GetFont(FontDesc(30, u"DEJAVU sans")), font);
    EXPECT_NE(m_cache.GetFont(FontDesc(30, u"DejaVu Sans ")), font);
    EXPECT_NE(m_cache.GetFont(FontDesc(31, u"DejaVu Sans")), font);
    FontDesc bold(30, u"DejaVu Sans");
    bold.m_bBold = 1;
    EXPECT_NE(m_cache.GetFont(bold), font);
    EXPECT_EQ(m_cache.Count(), 4);
}

TEST(FontDesc, ComparesFacesIgnoringAsciiCaseOnly)
{
    EXPECT_TRUE(SameFace(u"Arial", u"aRIAL"));
    EXPECT_FALSE(SameFace(u"Arial", u"Arial "));
    EXPECT_FALSE(SameFace(u"ÄRIAL", u"ärial"));
    EXPECT_TRUE(SameFace(u"微软雅黑", u"微软雅黑"));
    const FontDesc defaults;
    EXPECT_EQ(defaults.m_nHeight, 18);
    EXPECT_EQ(defaults.m_strFace, u"宋体");
}

class DrawKitTest : public RenderTest {
protected:
    QImage m_image = NewCanvas(400, 300, kGround);
};

struct BarBoxCase {
    int height;
    int frame;
};

class BarBoxTest : public RenderTest, public ::testing::WithParamInterface<BarBoxCase> {};

TEST_P(BarBoxTest, FramesInsideTheRoundedBox)
{
    QImage image = NewCanvas(400, 300, kGround);
    const int h = GetParam().height;
    {
        QtDC dc(image);
        DrawBarBox(dc, RECT{20, 20, 320, 20 + h}, RGB(70, 105, 153));
    }
    Keep(image, "box");
    const int mid = 20 + h / 2;
    const int frame = GetParam().frame;
    EXPECT_EQ(PixelAt(image, 19, mid), kGround);
    EXPECT_EQ(PixelAt(image, 20, mid), RGB(107, 135, 173));
    EXPECT_EQ(PixelAt(image, 20 + frame - 1, mid), RGB(107, 135, 173));
    EXPECT_EQ(PixelAt(image, 20 + frame, mid), RGB(70, 105, 153));
    EXPECT_EQ(PixelAt(image, 319 - frame + 1, mid), RGB(107, 135, 173));
    EXPECT_EQ(PixelAt(image, 319 - frame, mid), RGB(70, 105, 153));
    EXPECT_EQ(PixelAt(image, 320, mid), kGround);
    EXPECT_EQ(PixelAt(image, 170, 20 + frame - 1), RGB(107, 135, 173));
    EXPECT_EQ(PixelAt(image, 170, 20 + frame), RGB(70, 105, 153));
    EXPECT_EQ(PixelAt(image, 170, 20 + h - frame), RGB(107, 135, 173));
    // The corners are rounded off.
    EXPECT_EQ(PixelAt(image, 20, 20), kGround);
    EXPECT_EQ(PixelAt(image, 319, 20 + h - 1), kGround);
}

INSTANTIATE_TEST_SUITE_P(Heights, BarBoxTest, ::testing::Values(BarBoxCase{40, 2}, BarBoxCase{100, 5}, BarBoxCase{162, 8}));

TEST_F(DrawKitTest, EmptyBoxAndEmptyTextDrawNothing)
{
    const QImage before = m_image;
    FontCache cache;
    {
        QtDC dc(m_image);
        DrawBarBox(dc, RECT{20, 20, 20, 60}, RGB(3, 160, 25));
        DrawBarBox(dc, RECT{20, 60, 300, 50}, RGB(3, 160, 25));
        dc.SetBkMode(OPAQUE);
        DrawFittedText(dc, cache, std::u16string(), RECT{0, 0, 400, 300}, DT_CENTER, kFace, 40);
    }
    EXPECT_EQ(m_image, before);
}

TEST_F(DrawKitTest, TranslucentFillDarkensAllButTheLastColumnAndRow)
{
    {
        QtDC dc(m_image);
        FillTranslucent(dc, RECT{10, 20, 110, 70});
    }
    Keep(m_image, "fill");
    const COLORREF dark = PixelAt(m_image, 10, 20);
    EXPECT_NEAR(GetRValue(dark), 36, 1);
    EXPECT_NEAR(GetGValue(dark), 80, 1);
    EXPECT_NEAR(GetBValue(dark), 134, 1);
    EXPECT_EQ(InkBox(m_image, dark), QRect(10, 20, 99, 49));
}

TEST_F(DrawKitTest, TextIsPlacedByItsFormatAndClippedUnlessNoClip)
{
    CFont font;
    font.CreateFont(60, FW_NORMAL, false, false, kFace);
    const RECT rect{100, 100, 300, 200};
    const std::u16string text = u"国";
    struct Case {
        unsigned format;
        int left;
        int top;
    };
    const int cx = font.TextWidth(text);
    for (const Case& c : {Case{DT_LEFT, 100, 100}, Case{DT_CENTER | DT_VCENTER | DT_SINGLELINE, 100 + (200 - cx) / 2, 120},
                          Case{DT_CENTER | DT_BOTTOM | DT_SINGLELINE, 100 + (200 - cx) / 2, 140}}) {
        QImage image = NewCanvas(400, 300, RGB(0, 0, 0));
        QImage shifted = NewCanvas(400, 300, RGB(0, 0, 0));
        {
            QtDC dc(image);
            const ScopedFont selected(dc, &font);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextColor(RGB(255, 255, 255));
            dc.DrawText(text, rect, c.format);
            QtDC origin(shifted);
            const ScopedFont alsoSelected(origin, &font);
            origin.SetBkMode(TRANSPARENT);
            origin.SetTextColor(RGB(255, 255, 255));
            origin.DrawText(text, RECT{0, 0, 400, 300}, DT_LEFT);
        }
        Keep(image, "format" + std::to_string(c.format));
        EXPECT_EQ(InkBox(image, RGB(255, 255, 255)), InkBox(shifted, RGB(255, 255, 255)).translated(c.left, c.top))
            << c.format;
    }

    QImage clipped = NewCanvas(400, 300, RGB(0, 0, 0));
    {
        QtDC dc(clipped);
        CFont big;
        big.CreateFont(200, FW_NORMAL, false, false, kFace);
        const ScopedFont selected(dc, &big);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.DrawText(text, RECT{150, 130, 250, 170}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.DrawText(text, RECT{0, 130, 100, 170}, DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    Keep(clipped, "clip");
    EXPECT_TRUE(QRect(150, 130, 100, 40).contains(InkBox(clipped, RGB(255, 255, 255), QRect(120, 0, 280, 300))));
    EXPECT_GT(InkBox(clipped, RGB(255, 255, 255), QRect(0, 0, 120, 300)).height(), 100);
}

TEST_F(DrawKitTest, OpaqueTextFillsItsCellWithTheBackgroundColour)
{
    {
        QtDC dc(m_image);
        dc.SetBkColor(RGB(1, 2, 3));
        dc.DrawText(u"x", RECT{50, 50, 350, 250}, DT_LEFT);
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(u"x", RECT{50, 150, 350, 250}, DT_LEFT);
    }
    EXPECT_EQ(PixelAt(m_image, 50, 50), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(m_image, 50, 150), kGround);
}

TEST_F(DrawKitTest, TooWideTextIsDrawnOnceShrunkInProportion)
{
    CFont font;
    font.CreateFont(80, FW_NORMAL, false, false, kFace);
    const std::u16string text = u"Progress";
    const int width = font.TextWidth(text);
    const RECT rect{0, 0, width / 2, 300};
    FontCache cache;
    {
        QtDC dc(m_image);
        const ScopedFont selected(dc, &font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        DrawFittedText(dc, cache, text, rect, DT_LEFT, kFace, 80);
        EXPECT_EQ(dc.GetCurrentFont(), &font);
    }
    Keep(m_image, "fitted");
    EXPECT_EQ(InkBox(m_image, RGB(255, 255, 255)),
              ReferenceInk(m_image.size(), text, FittedHeight(width, width / 2, 80), rect, DT_LEFT));
}

TEST(SavedTextState, PutsBackTheFontAndTextColourOnEveryWayOut)
{
    QImage image = NewCanvas(10, 10, kGround);
    QtDC dc(image);
    CFont found;
    found.CreateFont(20, FW_NORMAL, false, false, kFace);
    CFont other;
    other.CreateFont(30, FW_NORMAL, false, false, kFace);
    dc.SelectObject(&found);
    dc.SetTextColor(RGB(1, 2, 3));
    const auto draw = [&](bool early) {
        const SavedTextState saved(dc);
        dc.SelectObject(&other);
        dc.SetTextColor(RGB(4, 5, 6));
        if (early) return;
        dc.SetTextColor(RGB(7, 8, 9));
    };
    for (bool early : {true, false}) {
        draw(early);
        EXPECT_EQ(dc.GetCurrentFont(), &found);
        EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    }
    CFont failed;
    EXPECT_EQ(dc.SelectObject(&failed), &found);
    EXPECT_EQ(dc.GetCurrentFont(), &found);
}

}  // namespace
