// Fonts whose every glyph is half as wide as the cell is high: widths and lines are
// predictable, which is all the layout needs to measure a screen.
#include <algorithm>

#include "draw/gdi_font.h"

struct CFont::Native {};

std::u16string SubstituteFace(const std::u16string& face)
{
    return face;
}

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const std::u16string& face)
{
    const int cell = std::clamp(nHeight, 1, kMaxCellHeight);
    m_pNative = std::make_unique<Native>();
    m_key = FontKey{cell, nWeight >= FW_HEAVY ? FW_HEAVY : FW_NORMAL, bItalic, bUnderline, face};
    m_nAscent = cell - cell / 5;
    m_nDescent = cell / 5;
    return true;
}

int CFont::TextWidth(const std::u16string& text) const
{
    return static_cast<int>(text.size()) * std::max(1, CellHeight() / 2);
}

RECT CFont::InkBox(const std::u16string& text) const
{
    return text.empty() ? RECT{} : RECT{0, -m_nAscent, TextWidth(text), m_nDescent};
}
