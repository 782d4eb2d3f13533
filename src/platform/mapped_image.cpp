#include "mapped_image.h"

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace {

// A 16384 x 16384 screen at 32 bits; every picture made here is at most a screen's size,
// and a larger one would be populated whole at once.
constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 30;

struct Mapping {
    void* address;
    std::size_t length;
};

void Unmap(void* info)
{
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

}  // namespace

QImage MappedImage(QSize size, QImage::Format format)
{
    if (size.isEmpty()) return QImage();
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const std::uint64_t bytesPerLine = (static_cast<std::uint64_t>(size.width()) * depth + 31) / 32 * 4;
    const std::uint64_t length = bytesPerLine * static_cast<std::uint64_t>(size.height());
    if (depth == 0 || length > kMaxBytes) return QImage();
    // Populated at once: every pixel is about to be drawn, and one call costs far less
    // than a fault for each page.
    void* address = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (address == MAP_FAILED) return QImage();
    auto* mapping = new Mapping{address, static_cast<std::size_t>(length)};
    QImage image(static_cast<uchar*>(address), size.width(), size.height(), static_cast<qsizetype>(bytesPerLine),
                 format, Unmap, mapping);
    if (image.isNull()) Unmap(mapping);
    return image;
}
