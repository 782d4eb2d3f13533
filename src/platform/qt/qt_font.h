#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include "platform/gdi_font.h"

struct CFont::Native {
    QFont font;
    QFontMetrics metrics;
};
