#include "picture_shrink.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// First source index of target index t when n source units shrink to m.
int BlockStart(int t, int n, int m) { return static_cast<int>(static_cast<std::int64_t>(t) * n / m); }

}  // namespace

QImage ShrinkPicture(const QImage& source, QSize target)
{
    const int sw = source.width();
    const int sh = source.height();
    const int tw = target.width();
    const int th = target.height();
    if (source.isNull() || target.isEmpty() || tw > sw || th > sh) return {};
    const QImage::Format format = source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32;
    QImage out(target, format);
    if (out.isNull()) return out;

    std::vector<int> columnOf(static_cast<std::size_t>(sw));
    for (int tx = 0; tx < tw; ++tx) {
        for (int x = BlockStart(tx, sw, tw); x < BlockStart(tx + 1, sw, tw); ++x) {
            columnOf[static_cast<std::size_t>(x)] = tx;
        }
    }
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(tw) * 4);
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(tw));
    for (int ty = 0; ty < th; ++ty) {
        const int y0 = BlockStart(ty, sh, th);
        const int y1 = BlockStart(ty + 1, sh, th);
        // Only this block of rows is widened to 32 bits, read in place from the source.
        QImage block(source.constScanLine(y0), sw, y1 - y0, source.bytesPerLine(), source.format());
        block.setColorTable(source.colorTable());
        const QImage rows = block.convertToFormat(format);
        std::fill(sums.begin(), sums.end(), 0);
        std::fill(counts.begin(), counts.end(), 0);
        for (int y = 0; y < rows.height(); ++y) {
            const auto* line = reinterpret_cast<const std::uint32_t*>(rows.constScanLine(y));
            for (int x = 0; x < sw; ++x) {
                const std::uint32_t p = line[x];
                const auto tx = static_cast<std::size_t>(columnOf[static_cast<std::size_t>(x)]);
                std::uint64_t* s = &sums[tx * 4];
                s[0] += p & 0xFF;
                s[1] += (p >> 8) & 0xFF;
                s[2] += (p >> 16) & 0xFF;
                s[3] += p >> 24;
                ++counts[tx];
            }
        }
        auto* to = reinterpret_cast<std::uint32_t*>(out.scanLine(ty));
        for (int tx = 0; tx < tw; ++tx) {
            const std::uint64_t n = counts[static_cast<std::size_t>(tx)];
            const std::uint64_t* s = &sums[static_cast<std::size_t>(tx) * 4];
            const auto avg = [&](int c) { return static_cast<std::uint32_t>((s[c] + n / 2) / n); };
            to[tx] = avg(0) | (avg(1) << 8) | (avg(2) << 16) | (avg(3) << 24);
        }
    }
    return out;
}
