// Fonts through real GDI: the cell is the height asked, and the ink stays inside the box
// the core reserves for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ink.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_font.h"
#include "draw/win32/win32_font.h"

namespace {

const std::u16string kFaces[] = {u"微软雅黑", u"宋体", u"Tahoma", u"No Such Face"};

TEST(GdiFont, CellHeightIsTheHeightAsked)
{
    for (const std::u16string& face : kFaces) {
        for (int height : {1, 9, 12, 16, 23, 40, 97, 200}) {
            CFont font;
            ASSERT_TRUE(font.CreateFont(height, FW_NORMAL, false, false, face));
            EXPECT_EQ(font.CellHeight(), height) << "height " << height;
            EXPECT_EQ(font.Key().nHeight, height);
            EXPECT_GT(font.Ascent(), 0) << "height " << height;
        }
        CFont heavy;
        ASSERT_TRUE(heavy.CreateFont(60, FW_HEAVY, true, true, face));
        EXPECT_EQ(heavy.CellHeight(), 60);
    }
}

// The faces the scoring program names must draw Chinese: under Wine the prefix replaces
// them by WenQuanYi Micro Hei, as a Chinese Windows has them.
TEST(GdiFont, NamedFacesHaveChineseGlyphs)
{
    for (const std::u16string& face : {std::u16string(u"微软雅黑"), std::u16string(u"宋体")}) {
        CFont font;
        ASSERT_TRUE(font.CreateFont(32, FW_NORMAL, false, false, face));
        const HDC hdc = CreateCompatibleDC(nullptr);
        const HGDIOBJ previous = SelectObject(hdc, font.NativeFont().hFont.get());
        const std::u16string text = u"第轮剩余时间";
        WORD glyphs[6]{};
        GetGlyphIndicesW(hdc, reinterpret_cast<const wchar_t*>(text.c_str()), 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(hdc, previous);
        DeleteDC(hdc);
        for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF);
    }
}

TEST(GdiFont, WidthGrowsWithTheText)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(30, FW_NORMAL, false, false, u"微软雅黑"));
    EXPECT_EQ(font.TextWidth(u""), 0);
    EXPECT_GT(font.TextWidth(u"MM"), font.TextWidth(u"M"));
    EXPECT_GT(font.TextWidth(u"剩余"), font.TextWidth(u"剩"));
    EXPECT_EQ(font.InkBox(u""), RECT{});
}

// White text on black: its ink lies in the box InkBox gives, placed at the cell's
// baseline, and a clipped line never leaves its rectangle.
TEST(GdiText, InkLandsInsideTheCellsInkBox)
{
    struct Case {
        std::u16string text;
        int height;
        int weight;
        bool italic;
    };
    const Case cases[] = {
        {u"Hg", 40, FW_NORMAL, false},       {u"jWf", 57, FW_HEAVY, false},
        {u"fij", 48, FW_NORMAL, true},       {u"第3轮 12:34", 64, FW_HEAVY, false},
        {u"宋体 Ag", 24, FW_NORMAL, false},
    };
    for (const Case& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreateFont(c.height, c.weight, c.italic, false, u"微软雅黑"));
        Image32 image = Uniform(600, 200, 0x000000);
        const RECT area{40, 50, 560, 50 + c.height};
        RECT cell{};
        {
            const std::unique_ptr<CDC> dc = CreateImageDC(image);
            dc->SelectObject(&font);
            dc->SetTextColor(RGB(255, 255, 255));
            dc->SetBkMode(TRANSPARENT);
            cell = dc->GetTextCell(c.text, area, DT_SINGLELINE | DT_NOCLIP);
            dc->DrawText(c.text, area, DT_SINGLELINE | DT_NOCLIP);
        }
        const RECT ink = InkBounds(image, 0x000000);
        ASSERT_FALSE(IsRectEmpty(ink)) << "no ink";
        const RECT box = RectOffset(font.InkBox(c.text), cell.left, cell.top + font.Ascent());
        EXPECT_EQ(RectUnion(ink, box), box) << "ink " << ink.left << ',' << ink.top << ',' << ink.right << ','
                                            << ink.bottom << " box " << box.left << ',' << box.top << ','
                                            << box.right << ',' << box.bottom;
        // GDI places a line by its cell's top: the glyphs sit in the cell.
        EXPECT_GE(ink.top, cell.top);
        EXPECT_LE(ink.bottom, cell.bottom + 1);
    }
}

TEST(GdiText, ClippedLineStaysInItsRectangle)
{
    CFont font;
    ASSERT_TRUE(font.CreateFont(60, FW_HEAVY, false, false, u"微软雅黑"));
    Image32 image = Uniform(300, 120, 0x000000);
    const RECT area{20, 20, 90, 50};  // narrower and lower than the text
    {
        const std::unique_ptr<CDC> dc = CreateImageDC(image);
        dc->SelectObject(&font);
        dc->SetTextColor(RGB(255, 255, 255));
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(u"WWWW", area, DT_SINGLELINE);
    }
    const RECT ink = InkBounds(image, 0x000000);
    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_EQ(RectUnion(ink, area), area);
}

}  // namespace
