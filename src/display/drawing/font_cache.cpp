#include "font_cache.h"

#include <algorithm>

#include "os/clock.h"
#include "draw/drawing_lifetime.h"
#include "draw/gdi_types.h"

namespace {

constexpr std::size_t kEvictAbove = 30;

std::unique_ptr<FontCache>& InstanceSlot()
{
    static std::unique_ptr<FontCache> cache;
    return cache;
}

}  // namespace

FontCache& FontCache::Instance()
{
    std::unique_ptr<FontCache>& cache = InstanceSlot();
    if (!cache) {
        cache = std::make_unique<FontCache>();
        // Fonts must go while the application object still stands.
        AtDrawingExit([] { InstanceSlot().reset(); });
    }
    return *cache;
}

void FontCache::EvictLeastRecentlyUsed()
{
    auto oldest = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->tLastUsed.Days() < oldest->tLastUsed.Days()) oldest = it;
    }
    m_evicted.push_back(std::move(oldest->font));
    m_entries.erase(oldest);
}

CFont* FontCache::GetFont(const FontDesc& desc)
{
    if (m_entries.size() > kEvictAbove) {
        EvictLeastRecentlyUsed();
        while (m_entries.size() >= kEvictAbove) EvictLeastRecentlyUsed();
    }

    const DateTime now = Clock::Now();
    auto hit = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.desc == desc; });
    if (hit != m_entries.end()) {
        hit->tLastUsed = now;
        return hit->font.get();
    }

    Entry entry{desc, std::make_unique<CFont>(), now};
    entry.font->CreateFont(desc.m_nHeight, desc.m_bBold != 0 ? FW_HEAVY : FW_NORMAL, desc.m_bItalic,
                           desc.m_bUnderline, desc.m_strFace);
    m_entries.push_back(std::move(entry));
    return m_entries.back().font.get();
}
