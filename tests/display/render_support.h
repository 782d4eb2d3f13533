#pragma once
#include <QImage>
#include <QRect>
#include <QString>

#include "draw/qt/qt_dc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "msg/comm_msg.h"
#include "draw/colour.h"
#include "draw/drawing_record.h"
#include "draw/gdi_types.h"

// Helpers shared by the drawing tests: canvases, pixel reading, reference text and
// pictures encoded the way a scoring program would send them.

QImage NewCanvas(int width, int height, COLORREF fill);
COLORREF PixelAt(const QImage& image, int x, int y);
// Bounding box of the pixels of exactly this colour inside the region (null when none).
QRect InkBox(const QImage& image, COLORREF colour, QRect region = QRect());
int CountColour(const QImage& image, COLORREF colour, QRect region = QRect());

// Ink box of the text drawn alone with a font of the given cell height, as a check on
// where and how large a screen drew it.
QRect ReferenceInk(QSize canvas, const std::u16string& text, int cellHeight, RECT rect, unsigned format);
int TextWidth(const std::u16string& text, int cellHeight);
// The cell height a font asked for by this height really has (never more than asked).
int CellHeightOf(int cellHeight);
// The largest font height, at most `asked`, at which the text's width and cell fit the
// room, found by trying every height from the top: the plain answer the display's
// quicker search must agree with.
int LargestFittingHeight(const std::u16string& text, int asked, QSize room);

std::vector<std::uint8_t> EncodePicture(const QImage& picture, const char* format);
// A picture of w x h pixels, each column its own colour from the list (repeated).
QImage StripedPicture(int width, int height, const std::vector<COLORREF>& colours);

void Attach(CommMsg_base& msg, const std::vector<std::uint8_t>& bytes);

// One line of text of a drawing, in the terms the layout checks read: the cell it was
// laid out in and the rectangle it was clipped to (null when unclipped).
struct DrawnText {
    std::u16string text;
    QRect cell;
    QRect clip;
    COLORREF clrText = 0;
};
std::vector<DrawnText> TextsOf(const DrawingRecord& record);

// A test whose images are written next to the test log when it fails, so a person can look.
class RenderTest : public ::testing::Test {
protected:
    void Keep(const QImage& image, const std::string& name);
    void TearDown() override;

private:
    std::vector<std::pair<std::string, QImage>> m_kept;
};
