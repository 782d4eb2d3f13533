#pragma once
#include <QImage>
#include <QSize>

// An image whose pixels live in a memory mapping of their own, given back to the system
// the moment the last copy of the image goes. The allocator keeps a freed block of the
// heap for later and, once it has freed one screen-sized block, serves the next ones from
// the heap too, so a screen-sized image made now and then would stay resident for good.
// A null image when the size is empty, would take more than 1 GiB, or the mapping could
// not be made.
QImage MappedImage(QSize size, QImage::Format format);
