#include "gdi_font.h"

#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

#include "gdi_types.h"

namespace {

constexpr const char* kChineseSans = "WenQuanYi Micro Hei";

// Faces the scoring program's platform has, and what stands in for them here.
const std::array<std::pair<QString, QString>, 2>& FaceTable()
{
    static const std::array<std::pair<QString, QString>, 2> table{{
        {QStringLiteral("微软雅黑"), QString::fromLatin1(kChineseSans)},
        {QStringLiteral("宋体"), QString::fromLatin1(kChineseSans)},
    }};
    return table;
}

// Far beyond any screen; keeps a hostile height from asking the rasteriser for absurd glyphs.
constexpr int kMaxCellHeight = 16384;

int CellOf(const QFont& font)
{
    const QFontMetrics m(font);
    return m.ascent() + m.descent();
}

}  // namespace

QString SubstituteFace(const QString& face)
{
    for (const auto& [name, family] : FaceTable()) {
        if (face.compare(name, Qt::CaseInsensitive) == 0) return family;
    }
    return face;
}

bool CFont::CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const QString& face)
{
    const int cell = std::clamp(nHeight, 1, kMaxCellHeight);
    QFont font;
    // A face missing here falls back to a face with Chinese glyphs before the generic sans.
    font.setFamilies({SubstituteFace(face), QString::fromLatin1(kChineseSans), QStringLiteral("DejaVu Sans")});
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

    m_font = font;
    m_metrics.emplace(m_font);
    m_nAscent = m_metrics->ascent();
    m_nDescent = m_metrics->descent();
    return true;
}
