#pragma once
#include <memory>
#include <string>

#include "draw/gdi_types.h"

// What a created font is, for telling two drawings apart: equal keys draw equal glyphs.
struct FontKey {
    int nHeight = 0;  // the cell height the font was made with, after clamping
    int nWeight = FW_NORMAL;
    bool bItalic = false;
    bool bUnderline = false;
    std::u16string face;
    friend bool operator==(const FontKey&, const FontKey&) = default;
};

// A font made the way the screens ask for one: by cell height, so that ascent plus descent
// is the given number of pixels whatever the face's proportions. Faces named by the
// scoring program's platform are looked up through one substitution table, and a face
// that the machine lacks falls back to a sans-serif face with Chinese glyphs.
// The platform's drawing layer implements the members that measure and make glyphs.
class CFont {
public:
    // Far beyond any screen; keeps a hostile height from asking the rasteriser for absurd glyphs.
    static constexpr int kMaxCellHeight = 16384;

    // The platform's own font object, defined by its drawing layer.
    struct Native;

    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Heights below one pixel are made one pixel high. Returns false, leaving the object
    // without a font, only when no font at all can be had.
    bool CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const std::u16string& face);

    bool IsNull() const { return m_pNative == nullptr; }
    const FontKey& Key() const { return m_key; }
    int Ascent() const { return m_nAscent; }
    int CellHeight() const { return m_nAscent + m_nDescent; }
    // The advance width of one line of text.
    int TextWidth(const std::u16string& text) const;
    // Every pixel the line's glyphs may touch, antialiasing and overhangs included,
    // relative to the pen's start on the baseline.
    RECT InkBox(const std::u16string& text) const;

    const Native& NativeFont() const { return *m_pNative; }

private:
    std::unique_ptr<Native> m_pNative;
    FontKey m_key;
    int m_nAscent = 0;
    int m_nDescent = 0;
};

// The installed family that stands in for a face name; unknown names pass unchanged.
std::u16string SubstituteFace(const std::u16string& face);
