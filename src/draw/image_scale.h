#pragma once
#include "draw/image32.h"

// The picture smoothly scaled to width x height, either way in each direction: shrinking
// averages the source pixels under each target pixel by how much of them it covers,
// growing blends the two nearest. A uniform area keeps its exact colour; premultiplied
// alpha is averaged with the colours it belongs to. An empty size gives an empty image.
Image32 ScalePicture(const Image32& source, int width, int height);
