#pragma once
#include <string>

// What a font is asked for by. Faces compare without regard to the case of ASCII
// letters, as the platform's font names do.
struct FontDesc {
    int m_nHeight = 18;        // cell height in pixels
    int m_bBold = 0;           // weight 900 when non-zero, 400 when zero
    bool m_bUnderline = false;
    bool m_bItalic = false;
    std::u16string m_strFace = u"宋体";

    FontDesc() = default;
    FontDesc(int nHeight, const std::u16string& face) : m_nHeight(nHeight), m_strFace(face) {}

    friend bool operator==(const FontDesc& a, const FontDesc& b);
};

// True when the two faces are equal once ASCII letters are folded to one case; other
// characters must match exactly.
bool SameFace(const std::u16string& a, const std::u16string& b);
