#include "draw/colour.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourTest, RedInTheLowestByte)
{
    EXPECT_EQ(RGB(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(RGB(0, 255, 0), 0x00FF00u);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000u);
    EXPECT_EQ(RGB(10, 20, 30), 10u + 256u * 20u + 65536u * 30u);
    constexpr COLORREF c = RGB(1, 2, 3);
    EXPECT_EQ(GetRValue(c), 1);
    EXPECT_EQ(GetGValue(c), 2);
    EXPECT_EQ(GetBValue(c), 3);
}

TEST(ColourTest, ComponentsKeepTheirLowEightBitsAndTheTopByteStaysZero)
{
    EXPECT_EQ(RGB(300, 256, -1), RGB(44, 0, 255));
    EXPECT_EQ(RGB(-1, -1, -1) >> 24, 0u);
}

}  // namespace
