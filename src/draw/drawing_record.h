#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/colour.h"
#include "draw/gdi_font.h"
#include "draw/gdi_types.h"

// One drawing operation as a context made it: what it draws, in full, and every pixel
// it may touch. Two equal operations put the same pixels on the same place, given the
// same pixels below them.
struct DrawnOp {
    enum class Kind : std::uint8_t { Fill, Blend, Region, Text, Picture, Keyed };

    Kind kind = Kind::Fill;
    // Windows' RECT, unlike the one of the other platforms, starts undefined: an operation
    // that leaves one unset must still compare equal to its twin.
    RECT bounds{};  // every pixel it may touch, cut to the context's clip; empty when none
    RECT area{};    // what it was asked to cover: the rectangle, region, text cell or destination
    COLORREF clr = 0;          // the fill, the text's colour, the key of a keyed picture
    std::uint32_t nArgb = 0;   // a blend's colour with alpha
    int nCornerWidth = 0;      // a region's corners
    int nCornerHeight = 0;
    int nFrameWidth = 0;       // a region's frame band; none for a filled region
    int nFrameHeight = 0;
    std::u16string text;       // one line of text
    FontKey font;
    RECT clip{};               // the rectangle the text was clipped to; empty when unclipped
    int nBkMode = 0;
    COLORREF clrBk = 0;        // the text cell's fill in OPAQUE mode
    std::uint64_t nPicture = 0;  // the picture's serial
    int nStretchMode = 0;

    friend bool operator==(const DrawnOp&, const DrawnOp&) = default;
};

// The operations of one drawing, in order. Keeps the first kMaxOps, far more than any
// screen draws, and says when it had to stop.
class DrawingRecord {
public:
    static constexpr std::size_t kMaxOps = 4096;

    void Add(DrawnOp op)
    {
        if (m_ops.size() < kMaxOps) {
            m_ops.push_back(std::move(op));
        } else {
            m_bOverflowed = true;
        }
    }
    void Clear()
    {
        m_ops.clear();
        m_bOverflowed = false;
    }

    const std::vector<DrawnOp>& Ops() const { return m_ops; }
    bool Overflowed() const { return m_bOverflowed; }
    // The lines of text drawn, in order.
    std::vector<const DrawnOp*> Texts() const;

private:
    std::vector<DrawnOp> m_ops;
    bool m_bOverflowed = false;
};

// The operations as text, one line each: kind, the area asked for and the pixels it may
// touch (left top right bottom), its colour as #RRGGBB and, for text, the line in UTF-8:
// "Text 10 20 300 80 | 12 18 296 82 | #FFFFFF | Round 5".
std::string DrawingRecordText(const DrawingRecord& record);

// The parts of a client area whose pixels can differ between two drawings of it: where
// an operation differs from its counterpart, the pixels of both. Records of different
// length, or that overflowed, differ everywhere. Touching parts are joined, and beyond a
// few parts one box holds them all, so a repaint clips to a handful of rectangles.
std::vector<RECT> ChangedAreas(const DrawingRecord& before, const DrawingRecord& after, const RECT& client);
