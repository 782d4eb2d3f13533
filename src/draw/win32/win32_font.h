#pragma once
#include <windows.h>

#include "draw/gdi_font.h"
#include "draw/text_memo.h"
#include "draw/win32/gdi_handles.h"

struct CFont::Native {
    UniqueFont hFont;
    TEXTMETRICW metrics{};
    TextMemo measured;
};
