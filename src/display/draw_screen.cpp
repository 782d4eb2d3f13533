#include "draw_screen.h"

#include <mutex>

#include "display/font_cache.h"
#include "display/info_screen.h"
#include "display/round_page.h"
#include "display/screen_pages.h"
#include "display/solid_brush.h"
#include "platform/gdi_text_runs.h"
#include "platform/lang_index.h"

void DrawScreen(CDC& dc, RECT rect, ScreenPageList& pages, const ScreenState& state)
{
    dc.FillRect(rect, *GetSolidBrush(kScreenBackground));
    FontCache& fontCache = FontCache::Instance();
    {
        // The emptiness test and the choice of page are one holding of the lock.
        std::unique_lock<std::mutex> lock(pages.Mutex());
        const ScreenPage* page = pages.CurrentPage();
        if (page == nullptr) {
            lock.unlock();
            DrawInfoScreen(dc, rect, WindowLangIndex(), state);
        } else if (page->m_bRoundPage) {
            DrawRoundPage(dc, fontCache, rect, *page);
        } else {
            // Stretched over the whole area, aspect ratio not kept, in the context's own mode.
            page->m_picture.Draw(dc, rect);
        }
    }
    fontCache.FreeEvicted();
    TextRunCache::Instance().DropUnused();
}
