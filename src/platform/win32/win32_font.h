#pragma once
#include <windows.h>

#include "platform/gdi_font.h"
#include "platform/text_memo.h"
#include "platform/win32/gdi_handles.h"

struct CFont::Native {
    UniqueFont hFont;
    TEXTMETRICW metrics{};
    TextMemo measured;
};
