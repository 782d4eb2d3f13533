#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <optional>

// A font made the way the screens ask for one: by cell height, so that ascent plus descent
// is the given number of pixels whatever the face's proportions. Faces named by the
// scoring program's platform are looked up through one substitution table, and a face
// that this machine lacks falls back to a sans-serif face with Chinese glyphs.
class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Heights below one pixel are made one pixel high. Returns false, leaving the object
    // without a font, only when no font at all can be had.
    bool CreateFont(int nHeight, int nWeight, bool bItalic, bool bUnderline, const QString& face);

    bool IsNull() const { return !m_metrics.has_value(); }
    const QFont& Font() const { return m_font; }
    const QFontMetrics& Metrics() const { return *m_metrics; }
    int Ascent() const { return m_nAscent; }
    int CellHeight() const { return m_nAscent + m_nDescent; }

private:
    QFont m_font;
    std::optional<QFontMetrics> m_metrics;
    int m_nAscent = 0;
    int m_nDescent = 0;
};

// The installed family that stands in for a face name; unknown names pass unchanged.
QString SubstituteFace(const QString& face);
