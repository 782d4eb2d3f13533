#include "draw_screen.h"

#include <algorithm>
#include <mutex>

#include "display/pages/colour_key.h"
#include "display/drawing/font_cache.h"
#include "display/drawing/info_screen.h"
#include "display/drawing/round_page.h"
#include "display/pages/screen_pages.h"
#include "display/drawing/solid_brush.h"
#include "os/lang_index.h"

namespace {

bool WarnsInKey(const TimeSignals& timeSignals)
{
    return std::any_of(timeSignals.stages.begin(), timeSignals.stages.end(),
                       [](const WarnStage& stage) { return stage.clr == kTransparentKey; });
}

}  // namespace

bool DrawScreen(CDC& dc, RECT rect, ScreenPageList& pages, const ScreenState& state, DateTime now)
{
    dc.FillRect(rect, *GetSolidBrush(kScreenBackground));
    FontCache& fontCache = FontCache::Instance();
    bool bMayDrawKey = false;
    {
        // The emptiness test and the choice of page are one holding of the lock.
        std::unique_lock<std::mutex> lock(pages.Mutex());
        const ScreenPage* page = pages.CurrentPage(now);
        if (page == nullptr) {
            lock.unlock();
            DrawInfoScreen(dc, rect, WindowLangIndex(), state);
        } else if (page->m_bRoundPage) {
            bMayDrawKey = page->m_bMayDrawKey || WarnsInKey(state.timeSignals);
            DrawRoundPage(dc, fontCache, rect, *page, state.timeSignals, now);
        } else {
            bMayDrawKey = page->m_bMayDrawKey;
            // Stretched over the whole area, aspect ratio not kept, in the context's own mode.
            page->m_picture.Draw(dc, rect);
        }
    }
    fontCache.FreeEvicted();
    return bMayDrawKey;
}
