#include "dib_section.h"

#include <cstring>

BITMAPINFO TopDownInfo(int nWidth, int nHeight)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;  // negative: the first line is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

DibSection::DibSection(const Image32& image) : m_hdc(CreateCompatibleDC(nullptr))
{
    if (!m_hdc || image.IsNull()) return;
    const BITMAPINFO info = TopDownInfo(image.Width(), image.Height());
    void* pBits = nullptr;
    m_hBitmap.reset(CreateDIBSection(m_hdc.get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!m_hBitmap || pBits == nullptr) return;
    m_pBits = static_cast<std::uint32_t*>(pBits);
    m_nWidth = image.Width();
    m_nHeight = image.Height();
    std::memcpy(m_pBits, image.Bits(), image.SizeInBytes());
    m_pSelected = std::make_unique<ScopedSelect>(m_hdc.get(), m_hBitmap.get());
}
