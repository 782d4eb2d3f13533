#pragma once
#include "draw/colour.h"
#include "draw/gdi_dc.h"

class CFont;

// Scope guards for the drawing state that routines borrow: whatever happens inside the
// scope, an early return included, the context gets back what it had.

// The font and text colour found on entry.
class SavedTextState {
public:
    explicit SavedTextState(CDC& dc) : m_dc(dc), m_pFont(dc.GetCurrentFont()), m_clrText(dc.GetTextColor()) {}
    ~SavedTextState()
    {
        m_dc.SelectObject(m_pFont);
        m_dc.SetTextColor(m_clrText);
    }
    SavedTextState(const SavedTextState&) = delete;
    SavedTextState& operator=(const SavedTextState&) = delete;

private:
    CDC& m_dc;
    CFont* m_pFont;
    COLORREF m_clrText;
};

// A font selected for the scope only.
class ScopedFont {
public:
    ScopedFont(CDC& dc, CFont* pFont) : m_dc(dc), m_pPrevious(dc.SelectObject(pFont)) {}
    ~ScopedFont() { m_dc.SelectObject(m_pPrevious); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    CDC& m_dc;
    CFont* m_pPrevious;
};

// A stretch mode set for the scope only.
class ScopedStretchMode {
public:
    ScopedStretchMode(CDC& dc, int nMode) : m_dc(dc), m_nPrevious(dc.SetStretchBltMode(nMode)) {}
    ~ScopedStretchMode() { m_dc.SetStretchBltMode(m_nPrevious); }
    ScopedStretchMode(const ScopedStretchMode&) = delete;
    ScopedStretchMode& operator=(const ScopedStretchMode&) = delete;

private:
    CDC& m_dc;
    int m_nPrevious;
};
