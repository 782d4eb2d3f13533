#pragma once
#include <list>
#include <memory>
#include <vector>

#include "display/drawing/font_desc.h"
#include "os/date_time.h"
#include "draw/gdi_font.h"

// Fonts by description, kept so that a steady screen creates no fonts. Holds at most
// 30 fonts after a request: at 31 entries the least recently used ones are dropped until
// 29 remain, then the request is served. Used by the window thread only; not locked.
class FontCache {
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font for the description, owned by the cache: select it and select the previous
    // font back, never delete it. It stays valid until FreeEvicted is called, even when a
    // later GetFont evicts it, so a repaint never finds a font it selected gone.
    CFont* GetFont(const FontDesc& desc);
    // Frees the fonts evicted since the last call; for the end of a repaint, once no
    // context holds any of them.
    void FreeEvicted() { m_evicted.clear(); }

    int Count() const { return static_cast<int>(m_entries.size()); }

    // The process-wide cache, made at first use.
    static FontCache& Instance();

private:
    struct Entry {
        FontDesc desc;
        std::unique_ptr<CFont> font;
        DateTime tLastUsed;
    };

    void EvictLeastRecentlyUsed();

    std::list<Entry> m_entries;
    std::vector<std::unique_ptr<CFont>> m_evicted;
};
