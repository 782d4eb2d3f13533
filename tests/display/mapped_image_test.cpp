#include <gtest/gtest.h>

#include <QPainter>

#include "platform/mapped_image.h"

namespace {

struct MappedCase {
    const char* name;
    QSize size;
    QImage::Format format;
    bool bMade;
};

// Made at the size and format asked for and drawn on like any image; refused empty or
// beyond a screen's worth, without mapping anything.
TEST(MappedImage, IsMadeAtScreenSizesAndRefusedEmptyOrBeyond)
{
    const MappedCase cases[] = {
        {"screen", QSize(1920, 1080), QImage::Format_RGB32, true},
        {"odd_width_8bit", QSize(13, 7), QImage::Format_Grayscale8, true},
        {"empty", QSize(0, 1080), QImage::Format_RGB32, false},
        {"negative", QSize(-5, 10), QImage::Format_RGB32, false},
        {"beyond", QSize(16384, 16385), QImage::Format_RGB32, false},
        {"invalid_format", QSize(10, 10), QImage::Format_Invalid, false},
    };
    for (const MappedCase& c : cases) {
        QImage image = MappedImage(c.size, c.format);
        ASSERT_EQ(!image.isNull(), c.bMade) << c.name;
        if (!c.bMade || c.size.width() > 4096) continue;
        EXPECT_EQ(image.size(), c.size) << c.name;
        EXPECT_EQ(image.format(), c.format) << c.name;
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.fillRect(QRect(1, 1, 2, 2), Qt::black);
        }
        EXPECT_EQ(qGray(image.pixel(2, 2)), 0) << c.name;
        EXPECT_EQ(qGray(image.pixel(c.size.width() - 1, c.size.height() - 1)), 255) << c.name;
    }
}

// A copy shares the pixels; the mapping lasts until the last copy goes.
TEST(MappedImage, OutlivesTheFirstHandleWhileACopyLasts)
{
    QImage copy;
    {
        QImage image = MappedImage(QSize(64, 64), QImage::Format_RGB32);
        image.fill(qRgb(10, 20, 30));
        copy = image;
    }
    EXPECT_EQ(copy.pixel(63, 63), qRgb(10, 20, 30));
}

}  // namespace
