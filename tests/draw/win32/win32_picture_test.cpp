// Pictures through WIC: what EncodePng writes DecodePicture reads back, fitted to a size,
// and nothing comes of bytes that are no picture or announce too large a one.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "ink.h"
#include "draw/picture_codec.h"

namespace {

std::vector<std::uint8_t> Png(const Image32& image)
{
    std::vector<std::uint8_t> png;
    EXPECT_TRUE(EncodePng(image, png));
    return png;
}

// A picture of distinct colours, so that every pixel's place shows.
Image32 Gradient(int nWidth, int nHeight)
{
    Image32 image(nWidth, nHeight);
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) image.Line(y)[x] = 0xFF000000u | (x * 7 % 256) << 16 | (y * 5 % 256) << 8 | 0x42;
    }
    return image;
}

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

TEST(WicPicture, PngRoundTripKeepsEveryPixel)
{
    const Image32 opaque = Gradient(37, 23);
    const std::optional<Image32> back = DecodePicture(Png(opaque), SIZE{});
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->HasAlpha());
    EXPECT_EQ(*back, opaque);

    Image32 translucent(3, 2, true);
    const std::array<std::uint32_t, 6> pixels{0xFF102030u, 0x00000000u, 0x80402010u,
                                               0xFFFFFFFFu, 0x40404040u, 0xFF000000u};
    std::copy(pixels.begin(), pixels.end(), translucent.Bits());
    const std::optional<Image32> alpha = DecodePicture(Png(translucent), SIZE{});
    ASSERT_TRUE(alpha);
    ASSERT_TRUE(alpha->HasAlpha());
    ASSERT_EQ(alpha->Width(), 3);
    for (int i = 0; i < 6; ++i) {
        const std::uint32_t want = pixels[static_cast<std::size_t>(i)];
        const std::uint32_t got = alpha->Bits()[i];
        for (int shift : {24, 16, 8, 0}) {
            // Straight alpha in the file: premultiplied channels may round by one.
            EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 1)
                << "pixel " << i << " byte " << shift / 8;
        }
    }
}

TEST(WicPicture, LargerPictureIsFittedEachDirectionOnItsOwn)
{
    // Four uniform quarters; the key colour among them must come back exact.
    Image32 quarters = Uniform(400, 300, 0xFF00FF);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            if (x >= 200) quarters.Line(y)[x] = y < 150 ? 0xFF123456u : 0xFF00FF00u;
            else if (y >= 150) quarters.Line(y)[x] = 0xFFFFFFFFu;
        }
    }
    const std::vector<std::uint8_t> png = Png(quarters);
    struct Case {
        SIZE fitTo;
        SIZE expected;
    };
    const Case cases[] = {{{100, 100}, {100, 100}}, {{1000, 60}, {400, 60}}, {{40, 1000}, {40, 300}},
                          {{0, 0}, {400, 300}},     {{400, 300}, {400, 300}}};
    for (const Case& c : cases) {
        const std::optional<Image32> fitted = DecodePicture(png, c.fitTo);
        ASSERT_TRUE(fitted);
        ASSERT_EQ(fitted->Width(), c.expected.cx);
        ASSERT_EQ(fitted->Height(), c.expected.cy);
        const int w = fitted->Width();
        const int h = fitted->Height();
        EXPECT_EQ(Rgb(*fitted, 1, 1), 0xFF00FFu);
        EXPECT_EQ(Rgb(*fitted, w / 4, h / 4), 0xFF00FFu);
        EXPECT_EQ(Rgb(*fitted, w - 2, 1), 0x123456u);
        EXPECT_EQ(Rgb(*fitted, w - 2, h - 2), 0x00FF00u);
        EXPECT_EQ(Rgb(*fitted, 1, h - 2), 0xFFFFFFu);
    }
}

TEST(WicPicture, WhatIsNoPictureGivesNothing)
{
    std::vector<std::uint8_t> truncated = Png(Gradient(50, 50));
    truncated.resize(truncated.size() / 2);
    const std::vector<std::vector<std::uint8_t>> cases{
        {},
        {'h', 'e', 'l', 'l', 'o'},
        std::vector<std::uint8_t>(4096, 0xFF),
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'},
        truncated,
    };
    for (const std::vector<std::uint8_t>& bytes : cases) {
        EXPECT_FALSE(DecodePicture(bytes, SIZE{})) << bytes.size() << " bytes";
    }
    std::vector<std::uint8_t> png;
    EXPECT_FALSE(EncodePng(Image32(), png));
}

// A PNG whose header announces 20000 x 20000 pixels (1.5 GiB decoded) is refused before
// any decoding, whatever follows the header.
TEST(WicPicture, PictureAnnouncingTooMuchIsRefused)
{
    std::vector<std::uint8_t> png = Png(Gradient(8, 8));
    // Signature (8), IHDR length and type (8), then width and height.
    PutBigEndian(&png[16], 20000);
    PutBigEndian(&png[20], 20000);
    PutBigEndian(&png[29], Crc32(&png[12], 17));
    EXPECT_FALSE(DecodePicture(png, SIZE{}));
    EXPECT_FALSE(DecodePicture(png, SIZE{1920, 1080})) << "fitting does not lift the limit";
}

}  // namespace
