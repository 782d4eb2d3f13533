#include "info_screen.h"

#include "display/drawing/address_text.h"
#include "display/drawing/draw_kit.h"
#include "display/pages/screen_state.h"
#include "display/drawing/font_cache.h"
#include "os/local_ipv4.h"
#include "display/drawing/signals_summary.h"
#include "draw/gdi_saved_state.h"
#include "os/platform_name.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

constexpr COLORREF kInfoBackground = RGB(22, 96, 128);
constexpr COLORREF kTitleColour = RGB(255, 255, 0);
constexpr COLORREF kVersionColour = RGB(220, 220, 220);
constexpr COLORREF kLineColour = RGB(240, 228, 176);
constexpr unsigned kTopCentred = DT_SINGLELINE | DT_CENTER;
constexpr unsigned kBottomCentred = DT_SINGLELINE | DT_BOTTOM | DT_CENTER;

// Looked up once a lookup has found something, and shown unchanged until the program ends.
CachedAddressText& AddressText()
{
    static CachedAddressText text(&GetLocalIPv4List);
    return text;
}

}  // namespace

void DrawInfoScreen(CDC& dc, RECT rect, int nLanguage, const ScreenState& state)
{
    const std::u16string face = u"微软雅黑";
    FontCache& fontCache = FontCache::Instance();

    // The background colour stays set, so text cells drawn opaque vanish into the fill.
    dc.FillSolidRect(rect, kInfoBackground);
    const SavedTextState saved(dc);

    const int h = (rect.bottom - rect.top) / 8;
    const int F1 = h * 70 / 100;
    const int F2 = (2 * h) * 75 / 100;
    const auto band = [&](int k) { return RECT{rect.left, rect.top + k * h, rect.right, rect.top + (k + 1) * h}; };
    CFont* body = fontCache.GetFont(FontDesc(F1, face));
    dc.SelectObject(body);

    dc.SetTextColor(kTitleColour);
    dc.SelectObject(fontCache.GetFont(FontDesc(F2, face)));
    DrawFittedText(dc, fontCache, Utf8ToWide(ChooseLangText(LangText::kTitle, nLanguage)),
                   RECT{rect.left, rect.top + h, rect.right, rect.top + 3 * h}, DT_CENTER, face, F2);

    // Every line is fitted to its band as the title is, so a narrow screen shrinks it
    // instead of cutting it off.
    const auto drawLine = [&](const std::u16string& text, int k, unsigned nFormat) {
        DrawFittedText(dc, fontCache, text, band(k), nFormat, face, F1);
    };
    dc.SetTextColor(kVersionColour);
    dc.SelectObject(body);
    drawLine(u"for " + std::u16string(kPlatformName) + u" (" + Utf8ToWide(kVersionText) + u")", 3, kTopCentred);

    dc.SetTextColor(kLineColour);
    drawLine(u"IP=" + AddressText().Get(), 4, kBottomCentred);

    const std::u16string size = Utf8ToWide(ChooseLangText(LangText::kScreenSize, nLanguage)) +
                                IntToWide(state.reportedSize.cx) + u"x" + IntToWide(state.reportedSize.cy / 2 * 2);
    drawLine(size, 5, kBottomCentred);

    if (!state.bFullScreen) {
        drawLine(Utf8ToWide(ChooseLangText(LangText::kRightClickHint, nLanguage)), 6, kBottomCentred);
    }
    drawLine(WithSignalsSummary(InfoFooterText(state.footer, nLanguage), state.timeSignals, nLanguage), 7,
             kBottomCentred);
}
