#pragma once
#include <QImage>
#include <QRect>

#include <string>
#include <vector>

// One drawing operation of what the display shows, as its snapshot's .ops file says
// (PAVLUNE_SNAPSHOT_OPS=1): what a test reads where glyph pixels cannot be predicted.
struct ShownOp {
    std::string kind;
    QRect area;
    QRect bounds;
    std::string colour;  // #RRGGBB
    std::string text;
};

std::vector<ShownOp> ParseOps(const std::string& text);

// The pixel bounds of the texts that run with the clock (those with a colon: the clock,
// the time bar's elapsed time), which may be a second apart between two pictures.
std::vector<QRect> RunningTextBounds(const std::vector<ShownOp>& ops);

// Pixels that differ between two pictures of one size, outside the areas given.
int DifferencesOutside(const QImage& a, const QImage& b, const std::vector<QRect>& areas);
