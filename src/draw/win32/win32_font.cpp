#include "win32_font.h"

#include <algorithm>

namespace {

// Antialiasing and hinting may put ink a little past the glyphs' outlines; the margin
// grows with the type, whose rounding does.
int InkMargin(int nCellHeight) { return 2 + nCellHeight / 16; }

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Measuring needs a context but no pixels: one memory context per thread, for fonts are
// measured on the message thread as well as the window thread.
HDC MeasuringDC()
{
    thread_local const UniqueMemoryDC hdc(CreateCompatibleDC(nullptr));
    return hdc.get();
}

// A positive height asks GDI for the cell height (ascent plus descent) rather than the em.
UniqueFont MakeFont(int nCellHeight, int nWeight, bool bItalic, bool bUnderline, const std::u16string& face)
{
    LOGFONTW lf{};
    lf.lfHeight = nCellHeight;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic ? TRUE : FALSE;
    lf.lfUnderline = bUnderline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfQuality = ANTIALIASED_QUALITY;
    // A face this machine lacks is replaced by a sans-serif one.
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const std::u16string name = SubstituteFace(face).substr(0, LF_FACESIZE - 1);
    std::copy(name.begin(), name.end(), lf.lfFaceName);
    return UniqueFont(CreateFontIndirectW(&lf));
}

// The font's metrics, or false when it cannot be measured.
bool Measure(HFONT hFont, TEXTMETRICW& metrics)
{
    const ScopedSelect selected(MeasuringDC(), hFont);
    return GetTextMetricsW(MeasuringDC(), &metrics) != FALSE;
}

// The overhang of a glyph's ink before its pen position (A) and past its advance (C);
// zero where the font does not say.
ABC GlyphAbc(HFONT hFont, char16_t c)
{
    ABC abc{};
    if (c >= 0xD800 && c <= 0xDFFF) return abc;
    const ScopedSelect selected(MeasuringDC(), hFont);
    if (!GetCharABCWidthsW(MeasuringDC(), c, c, &abc)) return ABC{};
    return abc;
}

// Whether a font of cell `got` is a better answer to `cell` than one of `best`: the
// tallest that fits, or failing that the shortest.
bool Closer(int got, int best, int cell)
{
    if (got <= cell) return best > cell || got > best;
    return best > cell && got < best;
}

}  // namespace

std::u16string SubstituteFace(const std::u16string& face)
{
    // Windows has the faces the scoring program names, and substitutes others itself.
    return face;
}

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const std::u16string& face)
{
    const int cell = std::clamp(nHeight, 1, kMaxCellHeight);
    const int weight = nWeight >= FW_HEAVY ? FW_HEAVY : FW_NORMAL;
    // GDI rounds the face's scaled ascent and descent separately, so the cell may come out
    // a pixel off what was asked, and some cells no request reaches: take the tallest cell
    // within the one asked, and give its descent what is missing.
    auto native = std::make_unique<Native>();
    int best = 0;
    for (int request : {cell, cell + 1, cell - 1, cell - 2, cell - 3}) {
        if (request < 1) continue;
        UniqueFont hFont = MakeFont(request, weight, bItalic, bUnderline, face);
        TEXTMETRICW metrics{};
        if (!hFont || !Measure(hFont.get(), metrics)) continue;
        const int got = metrics.tmAscent + metrics.tmDescent;
        if (!native->hFont || Closer(got, best, cell)) {
            native->hFont = std::move(hFont);
            native->metrics = metrics;
            best = got;
        }
        if (got == cell) break;
    }
    if (!native->hFont) return false;
    m_key = FontKey{cell, weight, bItalic, bUnderline, face};
    m_nAscent = std::min<int>(native->metrics.tmAscent, cell);
    m_nDescent = cell - m_nAscent;
    m_pNative = std::move(native);
    return true;
}

int CFont::TextWidth(const std::u16string& text) const
{
    if (text.empty()) return 0;
    if (const std::optional<int> known = m_pNative->measured.Find(text).width) return *known;
    const ScopedSelect selected(MeasuringDC(), m_pNative->hFont.get());
    SIZE size{};
    GetTextExtentPoint32W(MeasuringDC(), Wide(text), static_cast<int>(text.size()), &size);
    m_pNative->measured.KeepWidth(text, size.cx);
    return size.cx;
}

RECT CFont::InkBox(const std::u16string& text) const
{
    if (text.empty()) return RECT{};
    if (const std::optional<RECT> known = m_pNative->measured.Find(text).ink) return *known;
    const int margin = InkMargin(CellHeight());
    const int width = TextWidth(text);
    const ABC first = GlyphAbc(m_pNative->hFont.get(), text.front());
    const ABC last = GlyphAbc(m_pNative->hFont.get(), text.back());
    // Italic glyphs lean past the cell's top and the advance; the overhang says how far.
    const int overhang = static_cast<int>(m_pNative->metrics.tmOverhang);
    const RECT ink{std::min(first.abcA, 0) - margin, -m_nAscent - margin,
                   width + std::max({0, -static_cast<int>(last.abcC), overhang}) + margin, m_nDescent + margin};
    m_pNative->measured.KeepInk(text, ink);
    return ink;
}
