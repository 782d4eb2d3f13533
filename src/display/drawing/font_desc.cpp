#include "font_desc.h"

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

bool SameFace(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool operator==(const FontDesc& a, const FontDesc& b)
{
    return a.m_nHeight == b.m_nHeight && a.m_bBold == b.m_bBold && a.m_bUnderline == b.m_bUnderline &&
           a.m_bItalic == b.m_bItalic && SameFace(a.m_strFace, b.m_strFace);
}
