// Pictures as received: the cost rule for JPEGs, and pictures kept no larger than the
// client area with their uniform colours exact.
#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "picture_samples.h"
#include "draw/gdi_dc.h"
#include "draw/gdi_image.h"
#include "draw/jpeg_scans.h"
#include "render_support.h"

namespace {

QImage DecodeWithQt(const std::vector<std::uint8_t>& bytes)
{
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).read();
}

// A baseline JPEG with an APP1 segment right after its start, as cameras write EXIF with
// a thumbnail; here the segment is full of start-of-scan markers.
std::vector<std::uint8_t> WithMarkerFullApp1(std::vector<std::uint8_t> jpeg)
{
    std::vector<std::uint8_t> app1{0xFF, 0xE1, 0x00, 0x00};
    for (int i = 0; i < 200; ++i) app1.insert(app1.end(), {0xFF, 0xDA, 0x00, 0x08});
    const std::size_t length = app1.size() - 2;
    app1[2] = static_cast<std::uint8_t>(length >> 8);
    app1[3] = static_cast<std::uint8_t>(length & 0xFF);
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

struct JpegCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> make;
    int minScans;
    int maxScans;
    bool accepted;
};

class JpegCostRule : public ::testing::TestWithParam<JpegCase> {};

TEST_P(JpegCostRule, CountsScansAndRefusesOnlyTheCostlyOnes)
{
    const std::vector<std::uint8_t> bytes = GetParam().make();
    const int scans = CountJpegScans(bytes.data(), bytes.size());
    EXPECT_GE(scans, GetParam().minScans);
    EXPECT_LE(scans, GetParam().maxScans);
    // Every sample is a picture Qt itself decodes: a refusal is the rule's doing.
    ASSERT_FALSE(DecodeWithQt(bytes).isNull());
    CImage picture;
    EXPECT_EQ(picture.Load(bytes.data(), static_cast<int>(bytes.size())), GetParam().accepted);
    EXPECT_EQ(picture.IsNull(), !GetParam().accepted);
}

const QImage& Photo()
{
    static const QImage photo = DetailedPicture(160, 120);
    return photo;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, JpegCostRule,
    ::testing::Values(
        JpegCase{"Baseline", [] { return JpegBytes(Photo(), false); }, 1, 1, true},
        JpegCase{"Progressive", [] { return JpegBytes(Photo(), true); }, 2, kMaxJpegScans, true},
        JpegCase{"ExifLikeSegmentFullOfMarkers", [] { return WithMarkerFullApp1(JpegBytes(Photo(), false)); }, 1, 1,
                 true},
        JpegCase{"ProgressiveAtTheLimit",
                 [] {
                     const std::vector<std::uint8_t> plain = JpegBytes(Photo(), true);
                     return ManyScanJpeg(Photo(), kMaxJpegScans - CountJpegScans(plain.data(), plain.size()));
                 },
                 kMaxJpegScans, kMaxJpegScans, true},
        JpegCase{"ProgressiveOneScanPastTheLimit",
                 [] {
                     const std::vector<std::uint8_t> plain = JpegBytes(Photo(), true);
                     return ManyScanJpeg(Photo(), kMaxJpegScans + 1 - CountJpegScans(plain.data(), plain.size()));
                 },
                 kMaxJpegScans + 1, kMaxJpegScans + 1, false},
        JpegCase{"SixHundredScans", [] { return ManyScanJpeg(Photo(), 600); }, 600, 620, false}),
    [](const ::testing::TestParamInfo<JpegCase>& info) { return std::string(info.param.name); });

TEST(CountJpegScans, OtherAndBrokenBytesCountWhatTheyHold)
{
    const std::vector<std::uint8_t> png = EncodePicture(StripedPicture(8, 8, {RGB(1, 2, 3)}), "PNG");
    EXPECT_EQ(CountJpegScans(png.data(), png.size()), 0);
    EXPECT_EQ(CountJpegScans(nullptr, 0), 0);
    const std::vector<std::uint8_t> jpeg = ManyScanJpeg(Photo(), 10);
    const int all = CountJpegScans(jpeg.data(), jpeg.size());
    // Cut anywhere, even inside a segment's length, the walk stops at the end.
    for (std::size_t cut = 0; cut < jpeg.size(); cut += 97) {
        EXPECT_LE(CountJpegScans(jpeg.data(), cut), all) << cut;
    }
    // A segment announcing a length past the end is not followed.
    const std::vector<std::uint8_t> lying{0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF, 0xFF, 0xDA};
    EXPECT_EQ(CountJpegScans(lying.data(), lying.size()), 0);
}

struct FitCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> make;
    QSize fitTo;
    QSize kept;
};

class PictureFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(PictureFit, IsKeptNoLargerThanTheClientArea)
{
    const std::vector<std::uint8_t> bytes = GetParam().make();
    CImage picture;
    ASSERT_TRUE(picture.Load(bytes.data(), static_cast<int>(bytes.size()),
                             SIZE{GetParam().fitTo.width(), GetParam().fitTo.height()}));
    EXPECT_EQ(QSize(picture.GetWidth(), picture.GetHeight()), GetParam().kept);
    EXPECT_EQ(picture.SizeInBytes(), qint64{4} * GetParam().kept.width() * GetParam().kept.height());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PictureFit,
    ::testing::Values(
        FitCase{"Mono8192AtFullHd", [] { return TwoToneMonoPng(QSize(8192, 8192), qRgb(0, 0, 0), qRgb(255, 255, 255)); },
                QSize(1920, 1080), QSize(1920, 1080)},
        FitCase{"JpegShrunkByItsDecoder", [] { return JpegBytes(DetailedPicture(4000, 3000), false); },
                QSize(1920, 1080), QSize(1920, 1080)},
        FitCase{"OnlyTheLongSideShrinks", [] { return EncodePicture(StripedPicture(3000, 500, {RGB(1, 2, 3)}), "PNG"); },
                QSize(1920, 1080), QSize(1920, 500)},
        FitCase{"SmallPictureIsNeverEnlarged", [] { return EncodePicture(StripedPicture(100, 50, {RGB(1, 2, 3)}), "PNG"); },
                QSize(1920, 1080), QSize(100, 50)},
        FitCase{"NoClientAreaKeepsTheFullSize", [] { return EncodePicture(StripedPicture(3000, 500, {RGB(1, 2, 3)}), "PNG"); },
                QSize(), QSize(3000, 500)}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

struct UniformCase {
    const char* name;
    std::function<std::vector<std::uint8_t>(QRgb top, QRgb bottom)> make;
};

class UniformAreas : public ::testing::TestWithParam<UniformCase> {};

// The colour key of the composition must still find its colour in a shrunk picture.
TEST_P(UniformAreas, KeepTheirExactColourWhenShrunk)
{
    const QRgb key = qRgb(255, 1, 254);
    const QRgb green = qRgb(10, 200, 30);
    const std::vector<std::uint8_t> bytes = GetParam().make(key, green);
    CImage whole;
    ASSERT_TRUE(whole.Load(bytes.data(), static_cast<int>(bytes.size())));
    for (const QSize fit : {QSize(1920, 1080), QSize(1000, 999), QSize(333, 77)}) {
        CImage shrunk;
        ASSERT_TRUE(shrunk.Load(bytes.data(), static_cast<int>(bytes.size()), SIZE{fit.width(), fit.height()}));
        QImage canvas = NewCanvas(fit.width(), fit.height(), RGB(0, 0, 0));
        {
            QtDC dc(canvas);
            shrunk.Draw(dc, RECT{0, 0, fit.width(), fit.height()});
        }
        QImage reference = NewCanvas(whole.GetWidth(), whole.GetHeight(), RGB(0, 0, 0));
        {
            QtDC dc(reference);
            whole.Draw(dc, RECT{0, 0, whole.GetWidth(), whole.GetHeight()});
        }
        // Well inside each half, away from the edge between them.
        EXPECT_EQ(canvas.pixel(fit.width() / 2, fit.height() / 8), reference.pixel(whole.GetWidth() / 2, whole.GetHeight() / 8))
            << fit.width();
        EXPECT_EQ(canvas.pixel(fit.width() / 2, fit.height() * 7 / 8),
                  reference.pixel(whole.GetWidth() / 2, whole.GetHeight() * 7 / 8))
            << fit.width();
    }
}

QImage TwoTone(int width, int height, QRgb top, QRgb bottom)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(bottom);
    for (int y = 0; y < height / 2; ++y) std::fill_n(reinterpret_cast<QRgb*>(picture.scanLine(y)), width, top);
    return picture;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, UniformAreas,
    ::testing::Values(
        UniformCase{"MonoPng", [](QRgb top, QRgb bottom) { return TwoToneMonoPng(QSize(4096, 4096), top, bottom); }},
        UniformCase{"TrueColourPng",
                    [](QRgb top, QRgb bottom) { return EncodePicture(TwoTone(2500, 2500, top, bottom), "PNG"); }},
        UniformCase{"TranslucentPng",
                    [](QRgb, QRgb) {
                        return EncodePicture(TwoTone(2500, 2500, qRgba(255, 1, 254, 128), qRgba(10, 200, 30, 0))
                                                 .convertToFormat(QImage::Format_ARGB32),
                                             "PNG");
                    }},
        UniformCase{"Jpeg", [](QRgb top, QRgb bottom) { return JpegBytes(TwoTone(4000, 3000, top, bottom), false); }}),
    [](const ::testing::TestParamInfo<UniformCase>& info) { return std::string(info.param.name); });

}  // namespace
