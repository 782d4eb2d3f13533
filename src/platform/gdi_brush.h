#pragma once
#include <QColor>

#include "platform/colour.h"

// A solid brush of one colour.
class CBrush {
public:
    explicit CBrush(COLORREF clr) : m_clr(clr), m_colour(GetRValue(clr), GetGValue(clr), GetBValue(clr)) {}
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    COLORREF Colour() const { return m_clr; }
    const QColor& QtColour() const { return m_colour; }

private:
    COLORREF m_clr;
    QColor m_colour;
};

inline QColor ToQColor(COLORREF clr) { return QColor(GetRValue(clr), GetGValue(clr), GetBValue(clr)); }
