#include "qt_font.h"

#include <algorithm>
#include <array>
#include <utility>

#include "draw/qt/qt_text.h"

namespace {

constexpr const char* kChineseSans = "WenQuanYi Micro Hei";

// Faces the scoring program's platform has, and what stands in for them here.
const std::array<std::pair<std::u16string, const char*>, 2>& FaceTable()
{
    static const std::array<std::pair<std::u16string, const char*>, 2> table{{
        {u"微软雅黑", kChineseSans},
        {u"宋体", kChineseSans},
    }};
    return table;
}

int CellOf(const QFont& font)
{
    const QFontMetrics m(font);
    return m.ascent() + m.descent();
}

// Antialiasing and hinting may put ink a little past the glyphs' outlines; the margin
// grows with the type, whose rounding does.
int InkMargin(int nCellHeight) { return 2 + nCellHeight / 16; }

}  // namespace

std::u16string SubstituteFace(const std::u16string& face)
{
    const QString name = ToQString(face);
    for (const auto& [known, family] : FaceTable()) {
        if (name.compare(ToQString(known), Qt::CaseInsensitive) == 0) return QString::fromLatin1(family).toStdU16String();
    }
    return face;
}

CFont::CFont() = default;
CFont::~CFont() = default;

bool CFont::CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const std::u16string& face)
{
    const int cell = std::clamp(nHeight, 1, kMaxCellHeight);
    QFont font;
    // A face missing here falls back to a face with Chinese glyphs before the generic sans.
    font.setFamilies(QStringList{ToQString(SubstituteFace(face)), QString::fromLatin1(kChineseSans),
                                 QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(nWeight >= FW_HEAVY ? QFont::Black : QFont::Normal);
    font.setItalic(bItalic);
    font.setUnderline(bUnderline);

    // Pixel sizes name the em, not the cell: scale by the face's own proportion, then
    // settle on the largest size whose ascent plus descent still fits the cell.
    font.setPixelSize(cell);
    const int probe = CellOf(font);
    if (probe <= 0) return false;
    int size = std::max(1, static_cast<int>(static_cast<long long>(cell) * cell / probe));
    font.setPixelSize(size);
    while (size > 1 && CellOf(font) > cell) font.setPixelSize(--size);
    for (;;) {
        font.setPixelSize(size + 1);
        if (CellOf(font) > cell) break;
        ++size;
    }
    font.setPixelSize(size);

    m_pNative = std::make_unique<Native>(font, QFontMetrics(font));
    m_key = FontKey{cell, nWeight >= FW_HEAVY ? FW_HEAVY : FW_NORMAL, bItalic, bUnderline, face};
    m_nAscent = m_pNative->metrics.ascent();
    m_nDescent = m_pNative->metrics.descent();
    return true;
}

int CFont::TextWidth(const std::u16string& text) const
{
    if (const std::optional<int> known = m_pNative->measured.Find(text).width) return *known;
    const int width = m_pNative->metrics.horizontalAdvance(ToQString(text));
    m_pNative->measured.KeepWidth(text, width);
    return width;
}

RECT CFont::InkBox(const std::u16string& text) const
{
    if (text.empty()) return RECT{};
    if (const std::optional<RECT> known = m_pNative->measured.Find(text).ink) return *known;
    const QRect ink = m_pNative->metrics.boundingRect(ToQString(text));
    const int margin = InkMargin(CellHeight());
    // The advance too: an underline runs the whole width.
    const int right = std::max(ink.x() + ink.width(), TextWidth(text));
    const RECT box{std::min(ink.x(), 0) - margin, std::min(ink.y(), -m_nAscent) - margin, right + margin,
                   std::max(ink.y() + ink.height(), m_nDescent) + margin};
    m_pNative->measured.KeepInk(text, box);
    return box;
}
