#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include "draw/gdi_font.h"
#include "draw/text_memo.h"

struct CFont::Native {
    Native(const QFont& f, const QFontMetrics& m) : font(f), metrics(m) {}

    QFont font;
    QFontMetrics metrics;
    TextMemo measured;
};
