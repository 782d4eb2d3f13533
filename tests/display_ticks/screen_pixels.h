#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "msg/comm_msg.h"
#include "draw/colour.h"
#include "draw/gdi_types.h"
#include "draw/image32.h"

// Pixels read and pictures made through the portable drawing seam only, so the same
// checks hold the Qt layer and the GDI layer alike.

// An opaque image of one colour.
Image32 Canvas(int nWidth, int nHeight, COLORREF clr);
COLORREF ColourAt(const Image32& image, int x, int y);
// The smallest rectangle holding the pixels of exactly this colour inside the region
// (the whole image when the region is empty); empty when there are none.
RECT InkBox(const Image32& image, COLORREF clr, RECT region = {});
int CountColour(const Image32& image, COLORREF clr);

// A picture of w x h pixels, each column its own colour from the list (repeated), as the
// PNG file a scoring program would send, made by the platform's own encoder.
std::vector<std::uint8_t> StripedPng(int nWidth, int nHeight, const std::vector<COLORREF>& colours);
std::vector<std::uint8_t> PngOf(const Image32& picture);
void Attach(CommMsg_base& msg, const std::vector<std::uint8_t>& bytes);

// So that a failing comparison of rectangles names their edges.
void PrintTo(const RECT& rc, std::ostream* os);

// A test whose images are written as PNG next to the test log when it fails, so a person
// can look: to $PAVLUNE_TEST_IMAGES, or test-results in the folder the test runs in.
class PixelTest : public ::testing::Test {
protected:
    void Keep(const Image32& image, const std::string& name);
    void TearDown() override;

private:
    std::vector<std::pair<std::string, Image32>> m_kept;
};
