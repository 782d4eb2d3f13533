#include "frame_commands.h"

#include "os/lang_index.h"
#include "text/lang_text.h"
#include "text/wide_text.h"

namespace {

std::u16string MenuText(const char* langText)
{
    return Utf8ToWide(ChooseLangText(langText, WindowLangIndex()));
}

}  // namespace

std::vector<MenuItem> ContextMenu(bool bFullScreen)
{
    return {MenuItem{IDM_FULLSCREEN, MenuText(LangText::kMenuFullScreen), bFullScreen}, MenuItem{},
            MenuItem{IDM_EXIT, MenuText(LangText::kMenuExit), false}};
}

int CommandForKey(FrameKey key, bool bFullScreen)
{
    return key == FrameKey::F11 || (key == FrameKey::Escape && bFullScreen) ? IDM_FULLSCREEN : 0;
}
