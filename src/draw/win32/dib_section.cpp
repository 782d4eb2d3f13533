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

void MakeOpaque(std::uint32_t* pPixels, std::size_t nCount)
{
    for (std::size_t i = 0; i < nCount; ++i) pPixels[i] |= 0xFF000000u;
}

DibSection::DibSection(int nWidth, int nHeight) : m_hdc(CreateCompatibleDC(nullptr))
{
    if (!m_hdc || nWidth <= 0 || nHeight <= 0 || nWidth > Image32::kMaxSide || nHeight > Image32::kMaxSide) return;
    const BITMAPINFO info = TopDownInfo(nWidth, nHeight);
    void* pBits = nullptr;
    m_hBitmap.reset(CreateDIBSection(m_hdc.get(), &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!m_hBitmap || pBits == nullptr) return;
    m_pBits = static_cast<std::uint32_t*>(pBits);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_pSelected = std::make_unique<ScopedSelect>(m_hdc.get(), m_hBitmap.get());
}

DibSection::DibSection(const Image32& image) : DibSection(image.Width(), image.Height())
{
    if (m_pBits != nullptr) std::memcpy(m_pBits, image.Bits(), image.SizeInBytes());
}

Image32 DibSection::OpaqueCopy() const
{
    Image32 image;
    OpaqueCopyInto(image);
    return image;
}

void DibSection::OpaqueCopyInto(Image32& image) const
{
    image.Reshape(m_nWidth, m_nHeight);
    if (m_pBits == nullptr || image.IsNull()) {
        image = Image32();
        return;
    }
    GdiFlush();
    std::memcpy(image.Bits(), m_pBits, image.SizeInBytes());
    MakeOpaque(image.Bits(), image.SizeInBytes() / 4);
}
