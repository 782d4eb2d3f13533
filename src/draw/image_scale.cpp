#include "image_scale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Weights are fixed-point with this as the whole; the weights of one target pixel add up
// to exactly it, so that a uniform area comes out exactly as it went in.
constexpr int kWeightBits = 14;
constexpr int kWhole = 1 << kWeightBits;

// The source pixels one target pixel is made of along one direction.
struct Taps {
    int first = 0;
    std::vector<int> weights;
};

// Scales the parts so that they add up to kWhole, the rounding put on the largest.
void Normalise(Taps& taps, const std::vector<std::int64_t>& parts, std::int64_t total)
{
    int sum = 0;
    for (const std::int64_t part : parts) {
        taps.weights.push_back(static_cast<int>((part * kWhole + total / 2) / total));
        sum += taps.weights.back();
    }
    *std::max_element(taps.weights.begin(), taps.weights.end()) += kWhole - sum;
}

// Shrinking: target t covers source [t * from / to, (t + 1) * from / to), counted here in
// 1/to of a source pixel so that every overlap is a whole number.
Taps AreaTaps(int t, int from, int to)
{
    const std::int64_t low = static_cast<std::int64_t>(t) * from;
    const std::int64_t high = low + from;
    Taps taps;
    taps.first = static_cast<int>(low / to);
    const int last = static_cast<int>((high - 1) / to);
    std::vector<std::int64_t> parts;
    for (int s = taps.first; s <= last; ++s) {
        parts.push_back(std::min<std::int64_t>(high, static_cast<std::int64_t>(s + 1) * to) -
                        std::max<std::int64_t>(low, static_cast<std::int64_t>(s) * to));
    }
    Normalise(taps, parts, from);
    return taps;
}

// Growing: target t's centre lies at ((2t + 1) * from - to) / (2 * to) in source pixels;
// the two source pixels around it are blended, the edge ones held.
Taps LinearTaps(int t, int from, int to)
{
    const std::int64_t numerator = static_cast<std::int64_t>(2 * t + 1) * from - to;
    const std::int64_t denominator = 2 * static_cast<std::int64_t>(to);
    Taps taps;
    if (numerator <= 0) {
        taps.weights = {kWhole};
        return taps;
    }
    taps.first = static_cast<int>(numerator / denominator);
    const std::int64_t beyond = numerator - taps.first * denominator;
    if (taps.first >= from - 1 || beyond == 0) {
        taps.first = std::min(taps.first, from - 1);
        taps.weights = {kWhole};
        return taps;
    }
    Normalise(taps, {denominator - beyond, beyond}, denominator);
    return taps;
}

std::vector<Taps> AxisTaps(int from, int to)
{
    std::vector<Taps> axis;
    axis.reserve(static_cast<std::size_t>(to));
    for (int t = 0; t < to; ++t) {
        axis.push_back(from >= to ? AreaTaps(t, from, to) : LinearTaps(t, from, to));
    }
    return axis;
}

std::uint32_t Channel(std::uint32_t pixel, int c) { return (pixel >> (8 * c)) & 0xFFu; }

std::uint32_t Rounded(const std::uint32_t (&sum)[4])
{
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        out |= std::min<std::uint32_t>((sum[c] + kWhole / 2) >> kWeightBits, 0xFFu) << (8 * c);
    }
    return out;
}

// One line of the target's width from a line of the source's, each of the four bytes on its own.
void ScaleLine(const std::uint32_t* from, std::uint32_t* to, const std::vector<Taps>& across)
{
    for (const Taps& taps : across) {
        std::uint32_t sum[4] = {};
        const std::uint32_t* pixel = from + taps.first;
        for (const int weight : taps.weights) {
            for (int c = 0; c < 4; ++c) {
                sum[c] += Channel(*pixel, c) * static_cast<std::uint32_t>(weight);
            }
            ++pixel;
        }
        *to++ = Rounded(sum);
    }
}

// One target line from the lines of `wide` its taps name, a whole line at a time.
void BlendLines(const Image32& wide, const Taps& taps, std::vector<std::uint32_t>& sums, std::uint32_t* to)
{
    std::fill(sums.begin(), sums.end(), 0u);
    for (std::size_t k = 0; k < taps.weights.size(); ++k) {
        const std::uint32_t* line = wide.Line(taps.first + static_cast<int>(k));
        const auto weight = static_cast<std::uint32_t>(taps.weights[k]);
        for (int x = 0; x < wide.Width(); ++x) {
            for (int c = 0; c < 4; ++c) {
                sums[static_cast<std::size_t>(x) * 4 + static_cast<std::size_t>(c)] += Channel(line[x], c) * weight;
            }
        }
    }
    for (int x = 0; x < wide.Width(); ++x) {
        const std::uint32_t* sum = &sums[static_cast<std::size_t>(x) * 4];
        to[x] = Rounded({sum[0], sum[1], sum[2], sum[3]});
    }
}

// Each 2x2 block of a picture of even sides averaged into one pixel, each of the four
// bytes on its own: a quarter of the pixels for a few operations each.
Image32 Halved(const Image32& source)
{
    Image32 half(source.Width() / 2, source.Height() / 2, source.HasAlpha());
    for (int y = 0; y < half.Height(); ++y) {
        const std::uint32_t* top = source.Line(2 * y);
        const std::uint32_t* bottom = source.Line(2 * y + 1);
        std::uint32_t* to = half.Line(y);
        for (int x = 0; x < half.Width(); ++x) {
            const std::uint32_t a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
            // Two bytes at a time, 16 bits apart, so that four of them add up without spilling.
            const std::uint32_t evens = (a & 0x00FF00FFu) + (b & 0x00FF00FFu) + (c & 0x00FF00FFu) +
                                        (d & 0x00FF00FFu) + 0x00020002u;
            const std::uint32_t odds = ((a >> 8) & 0x00FF00FFu) + ((b >> 8) & 0x00FF00FFu) +
                                       ((c >> 8) & 0x00FF00FFu) + ((d >> 8) & 0x00FF00FFu) + 0x00020002u;
            to[x] = ((evens >> 2) & 0x00FF00FFu) | (((odds >> 2) & 0x00FF00FFu) << 8);
        }
    }
    return half;
}

}  // namespace

Image32 ScalePicture(const Image32& source, int width, int height)
{
    if (source.IsNull() || width <= 0 || height <= 0) return Image32();
    // A picture at least twice the target's size both ways, of even sides (so that no line
    // is left out), is halved first, as often as that holds: a screen asked for at a desk's width shrinks four times or more, and
    // halving is far cheaper per pixel than weighing taps. Averaging 2x2 blocks and then
    // the rest is the same average, to within the rounding of each step.
    if (source.Width() >= 2 * width && source.Height() >= 2 * height && source.Width() % 2 == 0 &&
        source.Height() % 2 == 0) {
        return ScalePicture(Halved(source), width, height);
    }
    // Across first, into the target's width at the source's height, then down.
    const std::vector<Taps> across = AxisTaps(source.Width(), width);
    Image32 wide(width, source.Height(), source.HasAlpha());
    if (wide.IsNull()) return Image32();
    for (int y = 0; y < source.Height(); ++y) {
        ScaleLine(source.Line(y), wide.Line(y), across);
    }
    const std::vector<Taps> down = AxisTaps(source.Height(), height);
    Image32 scaled(width, height, source.HasAlpha());
    if (scaled.IsNull()) return Image32();
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        BlendLines(wide, down[static_cast<std::size_t>(y)], sums, scaled.Line(y));
    }
    return scaled;
}
