#include "ink.h"

#include <algorithm>

RECT InkBounds(const Image32& image, std::uint32_t background)
{
    RECT ink{};
    bool bAny = false;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if ((image.Pixel(x, y) & 0x00FFFFFFu) == (background & 0x00FFFFFFu)) continue;
            if (!bAny) ink = RECT{x, y, x + 1, y + 1};
            ink = RECT{std::min<int>(ink.left, x), std::min<int>(ink.top, y), std::max<int>(ink.right, x + 1),
                       std::max<int>(ink.bottom, y + 1)};
            bAny = true;
        }
    }
    return ink;
}

Image32 Uniform(int nWidth, int nHeight, std::uint32_t rgb)
{
    Image32 image(nWidth, nHeight);
    image.Fill(0xFF000000u | rgb);
    return image;
}
