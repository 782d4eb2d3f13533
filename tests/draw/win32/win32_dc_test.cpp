// The drawing context over real GDI: the pixels each operation leaves on an image.
#include <gtest/gtest.h>

#include "ink.h"
#include "draw/gdi_brush.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_image.h"
#include "draw/gdi_region.h"
#include "draw/picture_codec.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;

// Draws on a black 100 x 80 image whose top left stands at `origin` of the drawing.
template <typename Draw>
Image32 Drawn(Draw draw, POINT origin = {})
{
    Image32 image = Uniform(100, 80, kBlack);
    const std::unique_ptr<CDC> dc = CreateImageDC(image, origin);
    draw(*dc);
    return image;
}

TEST(GdiDC, FillsCoverTheirRectangleExactly)
{
    struct Case {
        POINT origin;
        RECT rc;
        RECT expected;  // on the image
    };
    const Case cases[] = {
        {{0, 0}, {10, 20, 30, 25}, {10, 20, 30, 25}},
        {{50, 40}, {60, 60, 70, 61}, {10, 20, 20, 21}},
        {{0, 0}, {-5, -5, 3, 200}, {0, 0, 3, 80}},
    };
    for (const Case& c : cases) {
        const CBrush brush(RGB(0x12, 0x34, 0x56));
        const Image32 image = Drawn([&](CDC& dc) { dc.FillRect(c.rc, brush); }, c.origin);
        EXPECT_EQ(InkBounds(image, kBlack), c.expected);
        EXPECT_EQ(Rgb(image, c.expected.left, c.expected.top), 0x123456u);
        EXPECT_EQ(image.Pixel(c.expected.left, c.expected.top) >> 24, 0xFFu) << "opaque images stay opaque";
    }
}

TEST(GdiDC, ArgbFillBlendsOverWhatIsThere)
{
    const Image32 image = Drawn([](CDC& dc) {
        dc.FillSolidRect(RECT{0, 0, 100, 80}, RGB(0, 0, 200));
        dc.FillArgbRect(RECT{10, 10, 50, 30}, 0x80FF0000u);  // half red
        dc.FillArgbRect(RECT{60, 10, 70, 20}, 0x00FFFFFFu);  // transparent: nothing
        dc.FillArgbRect(RECT{80, 10, 90, 20}, 0xFF00FF00u);  // opaque green
    });
    const std::uint32_t blended = Rgb(image, 30, 20);
    EXPECT_NEAR(static_cast<int>(blended >> 16), 0x80, 1);
    EXPECT_EQ((blended >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 200 / 2, 1);
    EXPECT_EQ(Rgb(image, 10, 10), blended) << "uniform over the whole rectangle";
    EXPECT_EQ(Rgb(image, 49, 29), blended);
    EXPECT_EQ(Rgb(image, 50, 29), 0x0000C8u);
    EXPECT_EQ(Rgb(image, 65, 15), 0x0000C8u);
    EXPECT_EQ(Rgb(image, 85, 15), 0x00FF00u);
}

TEST(GdiDC, RegionsFillAndFrameInsideTheirBounds)
{
    struct Case {
        RECT rc;
        int corner;
        int frame;  // 0: filled
    };
    const Case cases[] = {{{10, 10, 60, 50}, 0, 0}, {{10, 10, 60, 50}, 20, 0}, {{10, 10, 60, 50}, 20, 4},
                          {{5, 5, 95, 75}, 0, 3}};
    for (const Case& c : cases) {
        const CBrush brush(RGB(255, 255, 0));
        CRgn rgn;
        rgn.CreateRoundRectRgn(c.rc.left, c.rc.top, c.rc.right, c.rc.bottom, c.corner, c.corner);
        const Image32 image = Drawn([&](CDC& dc) {
            if (c.frame == 0) {
                dc.FillRgn(rgn, brush);
            } else {
                dc.FrameRgn(rgn, brush, c.frame, c.frame);
            }
        });
        const int midX = (c.rc.left + c.rc.right) / 2;
        const int midY = (c.rc.top + c.rc.bottom) / 2;
        EXPECT_EQ(InkBounds(image, kBlack), c.rc) << "corner " << c.corner << " frame " << c.frame;
        // The middle of each edge is the region's, the pixels just outside are not.
        EXPECT_EQ(Rgb(image, midX, c.rc.top), 0xFFFF00u);
        EXPECT_EQ(Rgb(image, midX, c.rc.bottom - 1), 0xFFFF00u);
        EXPECT_EQ(Rgb(image, c.rc.left, midY), 0xFFFF00u);
        EXPECT_EQ(Rgb(image, c.rc.right - 1, midY), 0xFFFF00u);
        if (c.corner > 0) {
            EXPECT_EQ(Rgb(image, c.rc.left, c.rc.top), kBlack) << "rounded corner";
        }
        if (c.frame > 0) {
            EXPECT_EQ(Rgb(image, midX, c.rc.top + c.frame - 1), 0xFFFF00u);
            EXPECT_EQ(Rgb(image, midX, c.rc.top + c.frame), kBlack) << "inside the band";
            EXPECT_EQ(Rgb(image, c.rc.right - c.frame, midY), 0xFFFF00u);
            EXPECT_EQ(Rgb(image, c.rc.right - c.frame - 1, midY), kBlack);
        } else {
            EXPECT_EQ(Rgb(image, midX, midY), 0xFFFF00u);
        }
    }
}

// A box narrower than its corners, as the time bar's progress fill is at the start of a
// board, has its corner ellipses squeezed to its width. Each case first fills a wide box
// far from it in the background colour, so that what a region leaves unset holds spans of
// another: an unset span shows as ink outside the box.
TEST(GdiDC, RegionsNarrowerThanTheirCornersStayInsideTheirBounds)
{
    struct Case {
        RECT rc;
        int corner;
        int frame;  // 0: filled
    };
    const Case cases[] = {{{10, 10, 12, 70}, 24, 0}, {{10, 10, 13, 70}, 24, 0}, {{10, 10, 14, 70}, 24, 8},
                          {{10, 5, 15, 75}, 40, 0},  {{10, 5, 14, 75}, 40, 1},  {{10, 5, 11, 75}, 40, 0}};
    for (const Case& c : cases) {
        const CBrush brush(RGB(255, 255, 0));
        CRgn wide;
        wide.CreateRoundRectRgn(40, 0, 100, 80, c.corner, c.corner);
        CRgn rgn;
        rgn.CreateRoundRectRgn(c.rc.left, c.rc.top, c.rc.right, c.rc.bottom, c.corner, c.corner);
        const Image32 image = Drawn([&](CDC& dc) {
            dc.FillRgn(wide, CBrush(RGB(0, 0, 0)));
            if (c.frame == 0) {
                dc.FillRgn(rgn, brush);
            } else {
                dc.FrameRgn(rgn, brush, c.frame, c.frame);
            }
        });
        const RECT ink = InkBounds(image, kBlack);
        EXPECT_EQ(RectUnion(ink, c.rc), c.rc) << "corner " << c.corner << " frame " << c.frame << " drew "
                                              << ink.left << ".." << ink.right;
        const int midY = (c.rc.top + c.rc.bottom) / 2;
        EXPECT_EQ(Rgb(image, c.rc.left, midY), 0xFFFF00u) << "the box's middle is drawn, edge to edge";
        EXPECT_EQ(Rgb(image, c.rc.right - 1, midY), 0xFFFF00u);
    }
}

TEST(GdiDC, ClipRectanglesBoundEveryOperation)
{
    const CBrush brush(RGB(255, 255, 255));
    const Image32 image = Drawn(
        [&](CDC& dc) {
            dc.SetClipRects({RECT{20, 20, 30, 30}, RECT{60, 40, 70, 45}});
            dc.FillRect(RECT{0, 0, 200, 200}, brush);
            dc.ClearClip();
            dc.FillRect(RECT{10, 75, 15, 80}, brush);
        },
        POINT{10, 10});
    EXPECT_EQ(InkBounds(image.Copy(RECT{0, 0, 100, 60}), kBlack), (RECT{10, 10, 60, 35}));
    EXPECT_EQ(Rgb(image, 10, 10), 0xFFFFFFu);
    EXPECT_EQ(Rgb(image, 59, 34), 0xFFFFFFu);
    EXPECT_EQ(Rgb(image, 30, 20), kBlack) << "between the two rectangles";
    EXPECT_EQ(InkBounds(image.Copy(RECT{0, 60, 100, 80}), kBlack), (RECT{0, 5, 5, 10})) << "unclipped again";
}

TEST(GdiDC, TransparentBltLeavesKeyPixels)
{
    Image32 picture = Uniform(4, 2, 0xFF00FF);  // the key colour, magenta
    picture.Line(0)[1] = 0xFF112233u;
    picture.Line(1)[3] = 0xFF445566u;
    const Image32 image = Drawn([&](CDC& dc) {
        dc.FillSolidRect(RECT{0, 0, 100, 80}, RGB(1, 2, 3));
        dc.TransparentBlt(picture, POINT{10, 20}, RGB(255, 0, 255));
    });
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t source = picture.Pixel(x, y) & 0xFFFFFFu;
            EXPECT_EQ(Rgb(image, 10 + x, 20 + y), source == 0xFF00FFu ? 0x010203u : source) << x << ',' << y;
        }
    }
    EXPECT_FALSE(image.HoldsColour(RGB(255, 0, 255)));
}

TEST(GdiDC, PicturesStretchOntoTheirRectangle)
{
    std::vector<std::uint8_t> png;
    Image32 source = Uniform(2, 2, 0xFF0000);
    source.Line(1)[1] = 0xFF0000FFu;
    ASSERT_TRUE(EncodePng(source, png));
    CImage picture;
    ASSERT_TRUE(picture.Load(png.data(), static_cast<int>(png.size())));
    for (int mode : {BLACKONWHITE, HALFTONE}) {
        const Image32 image = Drawn([&](CDC& dc) {
            dc.SetStretchBltMode(mode);
            picture.Draw(dc, RECT{10, 10, 50, 50});
        });
        EXPECT_EQ(InkBounds(image, kBlack), (RECT{10, 10, 50, 50})) << "mode " << mode;
        EXPECT_EQ(Rgb(image, 10, 10), 0xFF0000u);
        EXPECT_EQ(Rgb(image, 49, 49), 0x0000FFu);
        if (mode != HALFTONE) {
            EXPECT_EQ(Rgb(image, 29, 29), 0xFF0000u) << "each pixel from the one it falls on";
            EXPECT_EQ(Rgb(image, 30, 30), 0x0000FFu);
        }
    }
}

// A halftoned picture is kept stretched between drawings: each drawing must still show
// the picture and the size it asks for, not the one drawn before.
TEST(GdiDC, HalftonedPicturesShowThePictureAndSizeAskedFor)
{
    struct Step {
        std::uint32_t rgb;  // of a uniform picture
        RECT dest;
    };
    std::vector<CImage> pictures(2);
    const std::uint32_t colours[] = {0xC81E1E, 0x1E1EC8};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        std::vector<std::uint8_t> png;
        ASSERT_TRUE(EncodePng(Uniform(3, 2, colours[i]), png));
        ASSERT_TRUE(pictures[i].Load(png.data(), static_cast<int>(png.size())));
    }
    const Step steps[] = {{0xC81E1E, {10, 10, 50, 50}}, {0x1E1EC8, {10, 10, 50, 50}}, {0x1E1EC8, {0, 0, 90, 70}},
                          {0xC81E1E, {20, 5, 40, 75}},  {0xC81E1E, {20, 5, 40, 75}}};
    for (const Step& step : steps) {
        const CImage& picture = pictures[step.rgb == colours[0] ? 0 : 1];
        const Image32 image = Drawn([&](CDC& dc) {
            dc.SetStretchBltMode(HALFTONE);
            picture.Draw(dc, step.dest);
        });
        EXPECT_EQ(InkBounds(image, kBlack), step.dest) << std::hex << step.rgb;
        EXPECT_EQ(Rgb(image, step.dest.left, step.dest.top), step.rgb);
        EXPECT_EQ(Rgb(image, step.dest.right - 1, step.dest.bottom - 1), step.rgb);
    }
}

TEST(GdiDC, PicturesWithAlphaBlendOverWhatIsThere)
{
    Image32 pixels(2, 1, true);
    pixels.Line(0)[0] = 0xFF00FF00u;  // opaque green
    pixels.Line(0)[1] = 0x00000000u;  // transparent
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(EncodePng(pixels, png));
    CImage picture;
    ASSERT_TRUE(picture.Load(png.data(), static_cast<int>(png.size())));
    ASSERT_TRUE(picture.HasAlpha());
    const Image32 image = Drawn([&](CDC& dc) {
        dc.FillSolidRect(RECT{0, 0, 100, 80}, RGB(0, 0, 255));
        picture.Draw(dc, RECT{0, 0, 20, 10});
    });
    EXPECT_EQ(Rgb(image, 2, 5), 0x00FF00u);
    EXPECT_EQ(Rgb(image, 17, 5), 0x0000FFu);
}

}  // namespace
