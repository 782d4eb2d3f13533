#include "gdi_image.h"

#include <atomic>

#include "draw/gdi_dc.h"
#include "draw/jpeg_scans.h"
#include "draw/picture_codec.h"

namespace {

std::atomic<std::uint64_t> g_nNextSerial{1};

}  // namespace

bool CImage::Load(const std::uint8_t* data, int length, SIZE fitTo)
{
    Destroy();
    if (data == nullptr || length <= 0) return false;
    if (IsCostlyJpeg(data, static_cast<std::size_t>(length))) return false;
    std::optional<Image32> decoded = DecodePicture({data, static_cast<std::size_t>(length)}, fitTo);
    if (!decoded || decoded->IsNull()) return false;
    m_image = std::move(*decoded);
    m_nSerial = g_nNextSerial.fetch_add(1);
    return true;
}

void CImage::Draw(CDC& dc, const RECT& dest) const
{
    dc.DrawPicture(*this, dest);
}
