#pragma once
#include <windows.h>

#include "platform/gdi_font.h"
#include "platform/win32/gdi_handles.h"
#include "platform/win32/text_memo.h"

struct CFont::Native {
    UniqueFont hFont;
    TEXTMETRICW metrics{};
    TextMemo measured;
};
