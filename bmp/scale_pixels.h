#pragma once
#include "rgb_pixels.h"

// The picture with every pixel made a block of scale x scale (nearest
// neighbour), for exports meant for screens far larger than the frames.
// Scale 1 gives the picture as it is.
RgbPixels ScaledUp(const RgbPixels& px, int scale);
