#include "screen_pixels.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "draw/picture_codec.h"

Image32 Canvas(int nWidth, int nHeight, COLORREF clr)
{
    Image32 image(nWidth, nHeight);
    image.Fill(0xFF000000u | PixelRgb(clr));
    return image;
}

COLORREF ColourAt(const Image32& image, int x, int y)
{
    const std::uint32_t p = image.Pixel(x, y);
    return RGB(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
}

RECT InkBox(const Image32& image, COLORREF clr, RECT region)
{
    if (IsRectEmpty(region)) region = image.Rect();
    RECT box{};
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            if (ColourAt(image, x, y) == clr) box = RectUnion(box, RECT{x, y, x + 1, y + 1});
        }
    }
    return box;
}

int CountColour(const Image32& image, COLORREF clr)
{
    int count = 0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) count += ColourAt(image, x, y) == clr ? 1 : 0;
    }
    return count;
}

std::vector<std::uint8_t> StripedPng(int nWidth, int nHeight, const std::vector<COLORREF>& colours)
{
    Image32 picture(nWidth, nHeight);
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            picture.Line(y)[x] = 0xFF000000u | PixelRgb(colours[static_cast<std::size_t>(x) % colours.size()]);
        }
    }
    return PngOf(picture);
}

std::vector<std::uint8_t> PngOf(const Image32& picture)
{
    std::vector<std::uint8_t> png;
    EXPECT_TRUE(EncodePng(picture, png));
    return png;
}

void Attach(CommMsg_base& msg, const std::vector<std::uint8_t>& bytes)
{
    msg.SetAttachment(bytes.data(), static_cast<int>(bytes.size()));
}

void PrintTo(const RECT& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

void PixelTest::Keep(const Image32& image, const std::string& name)
{
    m_kept.emplace_back(name, image);
}

void PixelTest::TearDown()
{
    if (!HasFailure()) return;
    const char* dir = std::getenv("PAVLUNE_TEST_IMAGES");
    const std::filesystem::path folder(dir != nullptr ? dir : "test-results");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    for (const auto& [name, image] : m_kept) {
        std::string leaf = std::string(info->test_suite_name()) + "." + info->name() + "." + name + ".png";
        for (char& c : leaf) c = c == '/' ? '_' : c;
        std::vector<std::uint8_t> png;
        if (!EncodePng(image, png)) continue;
        const std::filesystem::path file = folder / leaf;
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                    static_cast<std::streamsize>(png.size()));
        std::printf("kept image: %s\n", file.string().c_str());
    }
}
