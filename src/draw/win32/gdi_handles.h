#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

// Owners for GDI's objects and contexts: each is given back exactly once, by whoever made it.

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct MemoryDCDeleter {
    void operator()(HDC h) const { DeleteDC(h); }
};

template <typename H>
using GdiObject = std::unique_ptr<std::remove_pointer_t<H>, GdiObjectDeleter>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueRgn = GdiObject<HRGN>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDCDeleter>;

// An object selected into a context for the scope; the one it replaced goes back at the end.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ h) : m_hdc(hdc), m_hPrevious(SelectObject(hdc, h)) {}
    ~ScopedSelect() { SelectObject(m_hdc, m_hPrevious); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_hPrevious;
};

// The context's whole state (clip, colours, modes, selections) saved for the scope.
class ScopedSaveDC {
public:
    explicit ScopedSaveDC(HDC hdc) : m_hdc(hdc), m_nSaved(SaveDC(hdc)) {}
    ~ScopedSaveDC()
    {
        if (m_nSaved != 0) RestoreDC(m_hdc, m_nSaved);
    }
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};
