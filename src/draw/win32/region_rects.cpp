#include "region_rects.h"

#include <cstddef>

std::vector<RECT> RegionRects(HRGN hRgn)
{
    const DWORD nBytes = GetRegionData(hRgn, 0, nullptr);
    if (nBytes == 0) return {};
    std::vector<std::byte> data(nBytes);
    auto* pData = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(hRgn, nBytes, pData) != nBytes) return {};
    const auto* pRects = reinterpret_cast<const RECT*>(pData->Buffer);
    return std::vector<RECT>(pRects, pRects + pData->rdh.nCount);
}
