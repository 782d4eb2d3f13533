#include <gtest/gtest.h>

#include <mutex>
#include <string>

#include "display/drawing/draw_kit.h"
#include "display/drawing/draw_screen.h"
#include "os/clock.h"
#include "display/drawing/info_screen.h"
#include "display/pages/screen_pages.h"
#include "draw/gdi_dc.h"
#include "render_support.h"

namespace {

constexpr COLORREF kInfoGround = RGB(22, 96, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kVersion = RGB(220, 220, 220);
constexpr COLORREF kLine = RGB(240, 228, 176);
constexpr unsigned kBottomCentred = DT_SINGLELINE | DT_BOTTOM | DT_CENTER;

class InfoScreenRender : public RenderTest {
protected:
    QImage Render(int width, int height, int language, ScreenState state, const std::string& name)
    {
        QImage image = NewCanvas(width, height, RGB(0, 0, 0));
        {
            QtDC dc(image);
            DrawInfoScreen(dc, RECT{0, 0, width, height}, language, state);
        }
        Keep(image, name);
        return image;
    }
    static int NotGround(const QImage& image, QRect region)
    {
        return region.width() * region.height() - CountColour(image, kInfoGround, region);
    }
};

TEST_F(InfoScreenRender, EightBandsAt1920By1080)
{
    const QImage image = Render(1920, 1080, 1, ScreenState{false, {1920, 1080}, {}}, "bands");
    // h = 135, F1 = 94, F2 = 202.
    EXPECT_EQ(NotGround(image, QRect(0, 0, 1920, 135)), 0);
    EXPECT_EQ(NotGround(image, QRect(0, 945, 1920, 135)), 0);

    const std::u16string title = u" Quendal screen display";
    const int titleHeight = FittedHeight(TextWidth(title, 202), 1920, 202);
    EXPECT_EQ(InkBox(image, kYellow), ReferenceInk(image.size(), title, titleHeight, RECT{0, 135, 1920, 405}, DT_CENTER));
    EXPECT_TRUE(QRect(0, 135, 1920, 270).contains(InkBox(image, kYellow)));

    const std::u16string version = u"for Linux (7.26.36)";
    EXPECT_EQ(InkBox(image, kVersion),
              ReferenceInk(image.size(), version, 94, RECT{0, 405, 1920, 540}, DT_SINGLELINE | DT_CENTER));

    EXPECT_TRUE(QRect(0, 540 + 135 - 94, 1920, 94).contains(InkBox(image, kLine, QRect(0, 540, 1920, 135))));
    EXPECT_GT(CountColour(image, kLine, QRect(0, 540, 1920, 135)), 100);
    EXPECT_EQ(InkBox(image, kLine, QRect(0, 675, 1920, 135)),
              ReferenceInk(image.size(), u"Screen size=1920x1080", 94, RECT{0, 675, 1920, 810},
                           kBottomCentred));
    EXPECT_EQ(InkBox(image, kLine, QRect(0, 810, 1920, 135)),
              ReferenceInk(image.size(), u"Right click to full screen.", 94, RECT{0, 810, 1920, 945},
                           kBottomCentred));
}

TEST_F(InfoScreenRender, FullScreenLeavesOutTheHint)
{
    const QImage image = Render(1920, 1080, 1, ScreenState{true, {1920, 1080}, {}}, "full-screen");
    EXPECT_EQ(NotGround(image, QRect(0, 810, 1920, 270)), 0);
    EXPECT_GT(CountColour(image, kLine, QRect(0, 675, 1920, 135)), 100);
}

TEST_F(InfoScreenRender, ChineseTextsAndAnEvenReportedHeight)
{
    const QImage image = Render(1366, 805, 0, ScreenState{false, {1366, 705}, {}}, "chinese");
    // h = 100: the five rows below band 7's end are empty too.
    EXPECT_EQ(NotGround(image, QRect(0, 700, 1366, 105)), 0);
    const std::u16string title = u"Velmor大屏显示";
    EXPECT_EQ(InkBox(image, kYellow), ReferenceInk(image.size(), title, FittedHeight(TextWidth(title, 150), 1366, 150),
                                                   RECT{0, 100, 1366, 300}, DT_CENTER));
    EXPECT_EQ(InkBox(image, kLine, QRect(0, 500, 1366, 100)),
              ReferenceInk(image.size(), u"屏幕大小=1366x704", 70, RECT{0, 500, 1366, 600},
                           kBottomCentred));
    EXPECT_EQ(InkBox(image, kLine, QRect(0, 600, 1366, 100)),
              ReferenceInk(image.size(), u"点右键切换到全屏", 70, RECT{0, 600, 1366, 700}, kBottomCentred));
}

TEST(InfoScreenState, PutsBackTheFontAndTextColourAndKeepsTheFillAsBackground)
{
    QImage image = NewCanvas(800, 600, RGB(0, 0, 0));
    QtDC dc(image);
    CFont* found = dc.GetCurrentFont();
    dc.SetTextColor(RGB(1, 2, 3));
    DrawInfoScreen(dc, RECT{0, 0, 800, 600}, 1, ScreenState{});
    EXPECT_EQ(dc.GetCurrentFont(), found);
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
}

TEST_F(InfoScreenRender, DrawScreenShowsItWhenThereIsNoPage)
{
    ScreenPageList pages;
    QImage image = NewCanvas(1920, 1080, RGB(0, 0, 0));
    {
        QtDC dc(image);
        DrawScreen(dc, RECT{0, 0, 1920, 1080}, pages, ScreenState{false, {1920, 1080}, {}}, Clock::Now());
    }
    Keep(image, "screen");
    EXPECT_EQ(CountColour(image, kScreenBackground), 0);
    EXPECT_EQ(PixelAt(image, 0, 0), kInfoGround);
    EXPECT_EQ(PixelAt(image, 1919, 1079), kInfoGround);
    EXPECT_GT(CountColour(image, kYellow), 1000);
}

}  // namespace
