#include "render_support.h"

#include <QBuffer>
#include <QDir>

#include <cstdio>
#include <cstdlib>

#include "draw/gdi_dc.h"
#include "draw/gdi_font.h"
#include "draw/gdi_saved_state.h"

QImage NewCanvas(int width, int height, COLORREF fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
    return image;
}

COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

QRect InkBox(const QImage& image, COLORREF colour, QRect region)
{
    if (region.isNull()) region = image.rect();
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (PixelAt(image, x, y) == colour) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int CountColour(const QImage& image, COLORREF colour, QRect region)
{
    if (region.isNull()) region = image.rect();
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) count += PixelAt(image, x, y) == colour ? 1 : 0;
    }
    return count;
}

QRect ReferenceInk(QSize canvas, const std::u16string& text, int cellHeight, RECT rect, unsigned format)
{
    QImage image = NewCanvas(canvas.width(), canvas.height(), RGB(0, 0, 0));
    {
        QtDC dc(image);
        CFont font;
        font.CreateFont(cellHeight, FW_NORMAL, false, false, u"微软雅黑");
        const ScopedFont selected(dc, &font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.DrawText(text, rect, format);
    }
    return InkBox(image, RGB(255, 255, 255));
}

int TextWidth(const std::u16string& text, int cellHeight)
{
    CFont font;
    font.CreateFont(cellHeight, FW_NORMAL, false, false, u"微软雅黑");
    return font.TextWidth(text);
}

int CellHeightOf(int cellHeight)
{
    CFont font;
    font.CreateFont(cellHeight, FW_NORMAL, false, false, u"微软雅黑");
    return font.CellHeight();
}

int LargestFittingHeight(const std::u16string& text, int asked, QSize room)
{
    int height = asked;
    for (; height > 1; --height) {
        CFont font;
        font.CreateFont(height, FW_NORMAL, false, false, u"微软雅黑");
        if (font.TextWidth(text) <= room.width() && font.CellHeight() <= room.height()) break;
    }
    return height;
}

std::vector<std::uint8_t> EncodePicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format)) << format;
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

QImage StripedPicture(int width, int height, const std::vector<COLORREF>& colours)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        const COLORREF c = colours[static_cast<std::size_t>(x) % colours.size()];
        for (int y = 0; y < height; ++y) picture.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
    return picture;
}

void Attach(CommMsg_base& msg, const std::vector<std::uint8_t>& bytes)
{
    msg.SetAttachment(bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<DrawnText> TextsOf(const DrawingRecord& record)
{
    const auto toQRect = [](const RECT& rc) { return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top); };
    std::vector<DrawnText> texts;
    for (const DrawnOp* op : record.Texts()) {
        texts.push_back(DrawnText{op->text, toQRect(op->area), IsRectEmpty(op->clip) ? QRect() : toQRect(op->clip), op->clr});
    }
    return texts;
}

void RenderTest::Keep(const QImage& image, const std::string& name)
{
    m_kept.emplace_back(name, image);
}

void RenderTest::TearDown()
{
    if (!HasFailure()) return;
    const char* dir = std::getenv("PAVLUNE_TEST_IMAGES");
    const QString folder = QString::fromLocal8Bit(dir != nullptr ? dir : "test-results");
    QDir().mkpath(folder);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    for (const auto& [name, image] : m_kept) {
        QString leaf = QStringLiteral("%1.%2.%3.png")
                           .arg(QString::fromLatin1(info->test_suite_name()), QString::fromLatin1(info->name()),
                                QString::fromStdString(name));
        leaf.replace(QLatin1Char('/'), QLatin1Char('_'));
        const QString file = folder + QLatin1Char('/') + leaf;
        image.save(file);
        std::printf("kept image: %s\n", file.toLocal8Bit().constData());
    }
}
