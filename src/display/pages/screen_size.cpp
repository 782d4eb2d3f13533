#include "screen_size.h"

#include <cstdint>

ScreenSize GetScreenSize(int nClientWidth, int nClientHeight)
{
    if (nClientWidth <= 0) return ScreenSize{};
    int w = nClientWidth;
    while (w >= 2048) w /= 2;
    const auto h = static_cast<std::int64_t>(nClientHeight) * w / nClientWidth;
    return ScreenSize{w, static_cast<int>(h)};
}
