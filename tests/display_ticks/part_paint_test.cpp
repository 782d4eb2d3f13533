// A repaint draws the whole screen clipped to each part, or, where the key colour may
// show, onto an image of the part alone; the tick's measure trusts that either way every
// pixel comes out as the screen drawn whole puts it, and that no operation reaches past
// the bounds the measure gave it. Checked here for the operations most likely to break
// that trust: a stretched picture, whose pixels depend on the whole destination, and a
// round region thinner than its corners.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "draw/gdi_brush.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_image.h"
#include "draw/gdi_region.h"
#include "draw/gdi_saved_state.h"
#include "screen_pixels.h"

namespace {

constexpr SIZE kScreen{1920, 1080};

// What is drawn over the whole screen.
enum class Drawing { UnsmoothedPicture, SmoothedPicture };

struct PartCase {
    const char* name;
    Drawing drawing;
    bool bOwnImage;  // the part drawn onto an image of its own, as for the key colour
    RECT part;
};

void PrintTo(const PartCase& c, std::ostream* os) { *os << c.name; }

std::string RgbText(COLORREF clr)
{
    return std::to_string(GetRValue(clr)) + "," + std::to_string(GetGValue(clr)) + "," + std::to_string(GetBValue(clr));
}

class PartPaintTest : public PixelTest, public ::testing::WithParamInterface<PartCase> {
protected:
    void SetUp() override
    {
        // Two colours far apart, in columns: smoothing shades every column edge.
        const std::vector<std::uint8_t> png = StripedPng(5, 3, {RGB(30, 60, 90), RGB(200, 120, 30)});
        ASSERT_TRUE(m_picture.Load(png.data(), static_cast<int>(png.size())));
    }

    void Draw(CDC& dc) const
    {
        const ScopedStretchMode mode(dc, GetParam().drawing == Drawing::SmoothedPicture ? HALFTONE : BLACKONWHITE);
        m_picture.Draw(dc, RECT{0, 0, kScreen.cx, kScreen.cy});
    }

    CImage m_picture;
};

TEST_P(PartPaintTest, AStretchedPictureDrawnForAPartIsTheWholeOnesPixels)
{
    const PartCase& c = GetParam();
    Image32 whole = Canvas(kScreen.cx, kScreen.cy, RGB(0, 0, 0));
    Draw(*CreateImageDC(whole));
    Image32 part;
    if (c.bOwnImage) {
        part = Canvas(RectWidth(c.part), RectHeight(c.part), RGB(0, 0, 0));
        Draw(*CreateImageDC(part, POINT{c.part.left, c.part.top}));
    } else {
        Image32 screen = Canvas(kScreen.cx, kScreen.cy, RGB(0, 0, 0));
        {
            const std::unique_ptr<CDC> dc = CreateImageDC(screen);
            dc->SetClipRects({c.part});
            Draw(*dc);
        }
        part = screen.Copy(c.part);
    }
    const Image32 expected = whole.Copy(c.part);
    int nDiffering = 0;
    POINT first{-1, -1};
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            if (ColourAt(part, x, y) == ColourAt(expected, x, y)) continue;
            if (nDiffering++ == 0) first = POINT{c.part.left + x, c.part.top + y};
        }
    }
    if (nDiffering != 0) {
        Keep(whole, "whole");
        Keep(part, "part");
    }
    EXPECT_EQ(nDiffering, 0) << "first at " << first.x << "," << first.y << ": "
                             << RgbText(ColourAt(part, first.x - c.part.left, first.y - c.part.top))
                             << " where the whole has " << RgbText(ColourAt(whole, first.x, first.y));
}

// The parts a running round page repaints: a band over the clock's old box, a corner of
// the screen, one off every column edge.
const PartCase kPartCases[] = {
    {"unsmoothed_clipped", Drawing::UnsmoothedPicture, false, {476, 296, 1445, 356}},
    {"unsmoothed_own_image", Drawing::UnsmoothedPicture, true, {476, 296, 1445, 356}},
    {"smoothed_clipped_band", Drawing::SmoothedPicture, false, {476, 296, 1445, 356}},
    {"smoothed_clipped_corner", Drawing::SmoothedPicture, false, {0, 0, 300, 200}},
    {"smoothed_clipped_inner", Drawing::SmoothedPicture, false, {1001, 503, 1307, 777}},
    {"smoothed_own_image_band", Drawing::SmoothedPicture, true, {476, 296, 1445, 356}},
    {"smoothed_own_image_inner", Drawing::SmoothedPicture, true, {1001, 503, 1307, 777}},
};

INSTANTIATE_TEST_SUITE_P(Parts, PartPaintTest, ::testing::ValuesIn(kPartCases),
                         [](const ::testing::TestParamInfo<PartCase>& info) { return info.param.name; });

// A tick invalidates only the bounds of the operations that changed, so an operation
// must leave every pixel outside them alone. The round boxes of the time bar are the
// ones that come thin: the progress fill starts each board one or two pixels wide, its
// corners and frame far wider than itself.
TEST(RegionBounds, ARoundRegionTouchesNothingOutsideItsBounds)
{
    struct Case {
        RECT rc;
        int nCorner;
        int nFrame;  // 0: filled
    };
    const Case cases[] = {
        {{1581, 918, 1582, 1080}, 24, 0}, {{1581, 918, 1582, 1080}, 24, 8}, {{1581, 918, 1583, 1080}, 24, 0},
        {{1581, 918, 1583, 1080}, 24, 8}, {{1581, 918, 1590, 1080}, 24, 8}, {{1581, 918, 1920, 1080}, 24, 8},
        {{100, 100, 101, 102}, 6, 2},
    };
    for (const Case& c : cases) {
        Image32 image = Canvas(kScreen.cx, kScreen.cy, RGB(0, 0, 0));
        {
            const std::unique_ptr<CDC> dc = CreateImageDC(image);
            // As a repaint draws: clipped to the part it was asked for.
            dc->SetClipRects({RECT{0, 0, kScreen.cx, kScreen.cy}});
            CRgn region;
            region.CreateRoundRectRgn(c.rc.left, c.rc.top, c.rc.right, c.rc.bottom, c.nCorner, c.nCorner);
            if (c.nFrame == 0) {
                dc->FillRgn(region, CBrush(RGB(3, 160, 25)));
            } else {
                dc->FrameRgn(region, CBrush(RGB(3, 160, 25)), c.nFrame, c.nFrame);
            }
        }
        const RECT ink = InkBox(image, RGB(3, 160, 25));
        EXPECT_EQ(RectUnion(ink, c.rc), c.rc)
            << ::testing::PrintToString(c.rc) << " corner " << c.nCorner << " frame " << c.nFrame << " drew "
            << ::testing::PrintToString(ink);
    }
}

}  // namespace
