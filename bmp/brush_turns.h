// Mirroring and quarter turns of a brush's pixels, on plain rows of pixels.
#pragma once
#include "bmp/pixel_grid.h"

void FlipLeftRight(const PixelGrid& p);  // in place
void FlipTopBottom(const PixelGrid& p);  // in place
// dst has width = src.height, height = src.width, same bytesPerPixel; any
// other dst is left as it is.
void TurnClockwise(const PixelGrid& src, const PixelGrid& dst);
void TurnAnticlockwise(const PixelGrid& src, const PixelGrid& dst);
