// Fitting texts into the room they have: the font search, the move inwards, the fitted
// line, and the drawing layer's record of where it laid each line out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/drawing/draw_kit.h"
#include "display/drawing/font_cache.h"
#include "display/drawing/text_fit.h"
#include "draw/gdi_dc.h"
#include "draw/qt/qt_font.h"
#include "draw/gdi_font.h"
#include "draw/gdi_saved_state.h"
#include "render_support.h"
#include "text/wide_text.h"

namespace {

const std::u16string kFace = u"微软雅黑";

struct FittingFontCase {
    const char* name;
    const char* text;
    int asked;
    SIZE room;
};

class FittingFont : public ::testing::TestWithParam<FittingFontCase> {};

TEST_P(FittingFont, IsTheAskedHeightWhileItFitsAndOtherwiseTheLargestThatDoes)
{
    const FittingFontCase& c = GetParam();
    const std::u16string text = Utf8ToWide(c.text);
    QImage image = NewCanvas(16, 16, RGB(0, 0, 0));
    QtDC dc(image);
    FontCache cache;
    const SavedTextState saved(dc);
    const int height = SelectFittingFont(dc, cache, text, kFace, c.asked, c.room);
    EXPECT_EQ(height, LargestFittingHeight(text, c.asked, QSize(c.room.cx, c.room.cy)));
    // The font left selected is the one reported, so the caller measures what it draws.
    EXPECT_EQ(dc.GetCurrentFont()->CellHeight(), CellHeightOf(height));
    EXPECT_LE(cache.Count(), 8) << "a search should take a few fonts, not one per pixel";
}

INSTANTIATE_TEST_SUITE_P(
    Rooms, FittingFont,
    ::testing::Values(FittingFontCase{"Fits", "50:00", 432, SIZE{1920, 1080}},
                      FittingFontCase{"TooWide", "13:23", 768, SIZE{1080, 1920}},
                      FittingFontCase{"TooWideWithSign", "-100:00", 864, SIZE{1920, 1080}},
                      FittingFontCase{"TooTall", "50:00", 1080, SIZE{3840, 480}},
                      FittingFontCase{"TooWideAndTall", "=01:40=", 2160, SIZE{800, 480}},
                      FittingFontCase{"NoRoom", "50:00", 100, SIZE{0, 0}}),
    [](const ::testing::TestParamInfo<FittingFontCase>& info) { return std::string(info.param.name); });

struct InsideCase {
    const char* name;
    RECT inner;
    int dx;
    int dy;
};

class MoveInside : public ::testing::TestWithParam<InsideCase> {};

TEST_P(MoveInside, ByTheLeastMovementAlongEachAxis)
{
    const RECT screen{0, 0, 1080, 1920};
    const SIZE offset = OffsetInside(GetParam().inner, screen);
    EXPECT_EQ(offset.cx, GetParam().dx);
    EXPECT_EQ(offset.cy, GetParam().dy);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, MoveInside,
    ::testing::Values(InsideCase{"Inside", RECT{10, 20, 1070, 1900}, 0, 0},
                      InsideCase{"Touching", RECT{0, 0, 1080, 1920}, 0, 0},
                      InsideCase{"PastLeftAndTop", RECT{-30, -5, 200, 100}, 30, 5},
                      InsideCase{"PastRightAndBottom", RECT{900, 1800, 1100, 1950}, -20, -30},
                      InsideCase{"WiderAndTallerThanTheScreen", RECT{-10, 100, 1200, 2100}, 10, -100}),
    [](const ::testing::TestParamInfo<InsideCase>& info) { return std::string(info.param.name); });

class FittedLine : public RenderTest {
protected:
    // Draws the text fitted into the rectangle, measured in a font of `measured` pixels.
    void Draw(const std::u16string& text, RECT rect, int measured, int height)
    {
        QtDC dc(m_image);
        dc.SetRecord(&m_record);
        CFont font;
        font.CreateFont(measured, FW_NORMAL, false, false, kFace);
        const ScopedFont selected(dc, &font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        DrawFittedText(dc, m_cache, text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFace, height);
    }

    FontCache m_cache;
    QImage m_image = NewCanvas(800, 300, RGB(0, 0, 0));
    DrawingRecord m_record;
};

TEST_F(FittedLine, StillTooWideAfterTheFirstShrinkIsShrunkAgainUntilItFits)
{
    // Measured small but drawn from a larger height, one shrink in proportion is not enough.
    const std::u16string text = u"Round 3 — change tables at the bell 10:00";
    const int room = TextWidth(text, 40) - 1;
    Draw(text, RECT{0, 0, room, 300}, 40, 160);
    Keep(m_image, "shrunk-again");
    const std::vector<DrawnText> texts = TextsOf(m_record);
    ASSERT_EQ(texts.size(), 1u);
    const DrawnText& line = texts.front();
    EXPECT_LE(line.cell.width(), room);
    EXPECT_TRUE(line.clip.contains(line.cell));
    EXPECT_GE(line.cell.height(), CellHeightOf(LargestFittingHeight(text, 160, QSize(room, 300))) * 9 / 10)
        << "shrunk far more than needed";
}

// A tick draws the same lines as the one before: their shrunk fonts are made once.
TEST_F(FittedLine, DrawnAgainTakesItsShrunkFontsFromTheCache)
{
    const std::u16string text = u"Round 3 — change tables at the bell 10:00";
    const RECT rect{0, 0, TextWidth(text, 40) - 1, 300};
    Draw(text, rect, 40, 160);
    const int nFonts = m_cache.Count();
    EXPECT_GE(nFonts, 2) << "the first shrink and at least one more";
    Draw(text, rect, 40, 160);
    EXPECT_EQ(m_cache.Count(), nFonts);
    const std::vector<DrawnText> texts = TextsOf(m_record);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts.back().cell, texts.front().cell);
}

TEST_F(FittedLine, TextThatFitsInNoSizeIsLeftOutRatherThanCut)
{
    const QImage before = m_image;
    Draw(u"Round 3 — change tables at the bell", RECT{100, 0, 101, 300}, 40, 40);
    Draw(u"Round 3", RECT{100, 0, 90, 300}, 40, 40);
    EXPECT_TRUE(TextsOf(m_record).empty());
    EXPECT_EQ(m_image, before);
}

TEST(DrawingRecordTest, NotesEachLineWhereItWasLaidOutOnlyWhileAttached)
{
    QImage image = NewCanvas(400, 300, RGB(0, 0, 0));
    QtDC dc(image);
    CFont font;
    font.CreateFont(30, FW_NORMAL, false, false, kFace);
    const ScopedFont selected(dc, &font);
    const int cell = font.CellHeight();
    const int cx = font.TextWidth(u"ab");
    dc.DrawText(u"before", RECT{0, 0, 400, 300}, DT_LEFT);
    DrawingRecord record;
    {
        dc.SetRecord(&record);
        dc.SetTextColor(RGB(9, 8, 7));
        dc.DrawText(u"ab\ncd", RECT{10, 20, 390, 280}, DT_LEFT);
        const RECT centred{0, 100, 400, 200};
        dc.DrawText(u"ab", centred, DT_NOCLIP | DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        const RECT laidOut = dc.GetTextCell(u"ab", centred, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EXPECT_EQ(laidOut.left, (400 - cx) / 2);
        EXPECT_EQ(laidOut.top, 100 + (100 - cell) / 2);
        dc.SetRecord(nullptr);
    }
    const std::vector<DrawnText> texts = TextsOf(record);
    dc.DrawText(u"after", RECT{0, 0, 400, 300}, DT_LEFT);

    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, u"ab");
    EXPECT_EQ(texts[0].cell, QRect(10, 20, cx, cell));
    EXPECT_EQ(texts[0].clip, QRect(10, 20, 380, 260));
    EXPECT_EQ(texts[0].clrText, RGB(9, 8, 7));
    EXPECT_EQ(texts[1].text, u"cd");
    EXPECT_EQ(texts[1].cell.top(), 20 + cell);
    EXPECT_EQ(texts[2].cell, QRect((400 - cx) / 2, 100 + (100 - cell) / 2, cx, cell));
    EXPECT_TRUE(texts[2].clip.isNull()) << "an unclipped text has no clip";
}

}  // namespace
