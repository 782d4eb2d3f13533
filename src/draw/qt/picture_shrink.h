#pragma once
#include <QImage>
#include <QSize>

// The picture made smaller by averaging the block of source pixels behind each target
// pixel. A block of one colour gives exactly that colour, so a uniform area keeps its
// exact colour (a colour key included). Works through the source a few rows at a time,
// so a large 1-bit picture is never widened to 32 bits whole. The result is
// Format_ARGB32_Premultiplied when the source has an alpha channel, else Format_RGB32;
// a target not smaller in both directions, or empty, gives a null image.
QImage ShrinkPicture(const QImage& source, QSize target);
