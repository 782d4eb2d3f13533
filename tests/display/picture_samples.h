#pragma once
#include <QImage>

#include <cstdint>
#include <vector>

// Pictures as a peer could send them, for the decoding tests, the window tests and the
// benches: made with Qt's own encoders, then, for the costly ones, changed byte-wise.

// A 1-bit PNG: the top half `top`, the rest `bottom`. Tiny when encoded (a few KB at
// 8192 x 8192), huge when decoded at full size.
std::vector<std::uint8_t> TwoToneMonoPng(QSize size, QRgb top, QRgb bottom);

// A picture with detail everywhere (gradients and a fine pattern), as a photo has.
QImage DetailedPicture(int width, int height);

// Smooth gradients only: its JPEG scans are short, while decoding each still goes over
// the whole picture.
QImage GradientPicture(int width, int height);

// JPEG bytes of the picture, baseline or progressive (libjpeg's own scan script).
std::vector<std::uint8_t> JpegBytes(const QImage& picture, bool progressive);

// A progressive JPEG whose last scan is repeated `extra` more times. Decoders accept it
// (with a warning) and go over the whole picture once more for every repetition.
std::vector<std::uint8_t> ManyScanJpeg(const QImage& picture, int extra);
