// The picture work pavlune-send does itself before a note goes out: fitting a picture to a
// display's screen, and turning a phone's photo upright.
#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <fstream>

#include "picture_letterbox.h"
#include "draw/image_scale.h"
#include "send_fixture.h"
#include "send_picture.h"

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

Image32 Uniform(int width, int height, std::uint32_t pixel)
{
    Image32 image(width, height);
    image.Fill(pixel);
    return image;
}

// The smallest rectangle holding every pixel of exactly that colour, and how many there are.
struct Found {
    RECT box{};
    long count = 0;
};

Found FindColour(const Image32& image, std::uint32_t pixel)
{
    Found found{RECT{image.Width(), image.Height(), 0, 0}, 0};
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) == pixel) {
                found.box = RECT{std::min<int>(found.box.left, x), std::min<int>(found.box.top, y),
                                 std::max<int>(found.box.right, x + 1), std::max<int>(found.box.bottom, y + 1)};
                ++found.count;
            }
        }
    }
    return found;
}

struct LetterboxCase {
    const char* name;
    SIZE picture;
    SIZE canvas;
    RECT expected;
};

const LetterboxCase kLetterboxCases[] = {
    {"PortraitShrunkFillsTheHeight", {800, 1200}, {192, 108}, {60, 0, 132, 108}},
    {"LandscapeShrunkFillsTheWidth", {1200, 800}, {108, 192}, {0, 60, 108, 132}},
    {"SquareGrownOddPixelGoesRight", {10, 10}, {301, 200}, {50, 0, 250, 200}},
    {"SameShapeFillsTheCanvas", {160, 90}, {320, 180}, {0, 0, 320, 180}},
    {"ExactSizeIsLeftAsItIs", {64, 48}, {64, 48}, {0, 0, 64, 48}},
    {"ShapeRoundedDown", {100, 33}, {100, 100}, {0, 33, 100, 66}},
    {"ThinStripKeepsOnePixel", {1000, 3}, {100, 100}, {0, 49, 100, 50}},
    {"TallStripKeepsOnePixel", {3, 1000}, {100, 100}, {49, 0, 50, 100}},
    {"ThousandsOfPixelsIntoEachOne", {4000, 3}, {3, 3}, {0, 1, 3, 2}},
};

class Letterbox : public testing::TestWithParam<LetterboxCase> {};

// A uniform picture comes out exactly where it belongs, in exactly its colour, with exactly
// the background everywhere else.
TEST_P(Letterbox, PutsThePictureUndistortedInTheMiddle)
{
    const LetterboxCase& c = GetParam();
    constexpr std::uint32_t kPicture = kOpaque | 0x336699u;
    const COLORREF background = RGB(0x10, 0x20, 0x30);
    const Image32 canvas =
        LetterboxImage(Uniform(c.picture.cx, c.picture.cy, kPicture), c.canvas.cx, c.canvas.cy, background);
    ASSERT_EQ(canvas.Width(), c.canvas.cx);
    ASSERT_EQ(canvas.Height(), c.canvas.cy);
    const Found picture = FindColour(canvas, kPicture);
    EXPECT_EQ(picture.box, c.expected) << picture.box.left << "," << picture.box.top << "," << picture.box.right
                                       << "," << picture.box.bottom;
    EXPECT_EQ(picture.count, static_cast<long>(RectWidth(c.expected)) * RectHeight(c.expected));
    EXPECT_EQ(FindColour(canvas, kOpaque | PixelRgb(background)).count,
              static_cast<long>(c.canvas.cx) * c.canvas.cy - picture.count);
}

INSTANTIATE_TEST_SUITE_P(Cases, Letterbox, testing::ValuesIn(kLetterboxCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Left half red, right half blue.
Image32 Halves(int width, int height)
{
    Image32 image = Uniform(width, height, kOpaque | 0x0000FFu);
    for (int y = 0; y < height; ++y) {
        std::fill(image.Line(y), image.Line(y) + width / 2, kOpaque | 0xFF0000u);
    }
    return image;
}

// Scaling either way keeps the two halves mirror images of each other: an error of half a
// pixel in where target pixels sample the source would shift the seam to one side.
TEST(ScalePicture, KeepsTheSeamOfTwoHalvesInTheMiddle)
{
    for (const auto& [from, to] : {std::pair{SIZE{8, 12}, SIZE{72, 108}}, std::pair{SIZE{800, 1200}, SIZE{72, 108}},
                                   std::pair{SIZE{10, 4}, SIZE{7, 3}}, std::pair{SIZE{6, 2}, SIZE{38, 2}},
                                   std::pair{SIZE{1920, 1080}, SIZE{480, 270}},
                                   std::pair{SIZE{1366, 768}, SIZE{300, 169}}}) {
        const Image32 scaled = ScalePicture(Halves(from.cx, from.cy), to.cx, to.cy);
        ASSERT_EQ(scaled.Width(), to.cx);
        ASSERT_EQ(scaled.Height(), to.cy);
        for (int y = 0; y < to.cy; ++y) {
            for (int x = 0; x < to.cx; ++x) {
                const std::uint32_t left = scaled.Pixel(x, y);
                const std::uint32_t mirrored = scaled.Pixel(to.cx - 1 - x, y);
                ASSERT_EQ((left >> 16) & 0xFF, mirrored & 0xFF) << from.cx << " to " << to.cx << " at " << x;
                ASSERT_EQ(left >> 24, 0xFFu);
            }
        }
        EXPECT_EQ(scaled.Pixel(0, 0), kOpaque | 0xFF0000u);
        EXPECT_EQ(scaled.Pixel(to.cx - 1, to.cy - 1), kOpaque | 0x0000FFu);
    }
}

// A half-transparent picture shows the background through, as drawing it over would.
TEST(LetterboxImage, BlendsAPictureWithAlphaOverTheBackground)
{
    Image32 picture(4, 4, true);
    picture.Fill(0x80800000u);  // red at half strength, premultiplied
    const Image32 canvas = LetterboxImage(picture, 4, 4, RGB(0, 0, 255));
    EXPECT_EQ(canvas.Pixel(2, 2), kOpaque | 0x80007Fu);
}

// A JPEG of four coloured quarters with an EXIF note of the given orientation.
std::string OrientedJpeg(int orientation)
{
    QImage image(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.setPixel(x, y, x < 8 ? (y < 4 ? 0xFF0000 : 0x00FF00) : (y < 4 ? 0x0000FF : 0xFFFF00));
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 100);
    // Big-endian TIFF: one entry in the first directory, Orientation (0x0112), SHORT, 1.
    const std::string tiff = std::string("MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 19) +
                             static_cast<char>(orientation) + std::string(6, '\0');
    const std::string exif = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = exif.size() + 2;
    const std::string app1 = std::string("\xFF\xE1") + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF);
    const std::string bytes = jpeg.toStdString();
    return bytes.substr(0, 2) + app1 + exif + bytes.substr(2);
}

class Orientation : public testing::TestWithParam<int> {};

// The picture pavlune-send fits is the one Qt's reader turns upright by itself.
TEST_P(Orientation, TurnsThePictureAsTheReaderWouldHaveIt)
{
    ScratchDir scratch;
    const std::string path = WriteScratch(scratch.Path(), "photo.jpg", OrientedJpeg(GetParam()));
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    const QImage expected = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull());

    std::string error;
    const auto picture = LoadPicture(path, error);
    ASSERT_TRUE(picture) << error;
    ASSERT_EQ(picture->image.Width(), expected.width());
    ASSERT_EQ(picture->image.Height(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            ASSERT_EQ(picture->image.Pixel(x, y) & kPixelRgb, expected.pixel(x, y) & kPixelRgb) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllEight, Orientation, testing::Range(1, 9));

}  // namespace
