#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "draw/image32.h"
#include "draw/win32/gdi_handles.h"

// A 32-bit top-down DIB section selected into a memory context of its own: the pixels
// that GDI draws on, laid out like an Image32's. A picture too large for the system
// leaves it without pixels (Bits() null), and drawing on its context then lands nowhere.
class DibSection {
public:
    // Black pixels, as the system hands them out: for a picture drawn on where it stays.
    DibSection(int nWidth, int nHeight);
    // A copy of the image's pixels.
    explicit DibSection(const Image32& image);
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    HDC Dc() const { return m_hdc.get(); }
    std::uint32_t* Bits() const { return m_pBits; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // The pixels as an opaque image, once GDI has finished drawing on them; empty
    // without pixels.
    Image32 OpaqueCopy() const;
    // The same into `image`, whose storage is reused when it is large enough.
    void OpaqueCopyInto(Image32& image) const;

private:
    UniqueMemoryDC m_hdc;
    UniqueBitmap m_hBitmap;
    std::uint32_t* m_pBits = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    // Declared last: put back before the bitmap and the context go.
    std::unique_ptr<ScopedSelect> m_pSelected;
};

// The header that describes an image's pixels to GDI as a top-down 32-bit DIB.
BITMAPINFO TopDownInfo(int nWidth, int nHeight);

// GDI writes nothing meaningful in a pixel's top byte; an opaque image's is set, as any
// opaque 32-bit image of the other platform has it.
void MakeOpaque(std::uint32_t* pPixels, std::size_t nCount);
