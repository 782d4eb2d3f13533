#pragma once
#include "draw/colour.h"

// A solid brush of one colour.
class CBrush {
public:
    explicit CBrush(COLORREF clr) : m_clr(clr) {}
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    COLORREF Colour() const { return m_clr; }

private:
    COLORREF m_clr;
};
