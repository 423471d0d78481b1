// Mirroring and quarter turns of a brush's pixels, on plain rows of pixels.
#pragma once
#include "bmp/pixel_rows.h"

void FlipLeftRight(const PixelRows& p);  // in place
void FlipTopBottom(const PixelRows& p);  // in place
// dst has width = src.height, height = src.width, same bytesPerPixel; any
// other dst is left as it is.
void TurnClockwise(const PixelRows& src, const PixelRows& dst);
void TurnAnticlockwise(const PixelRows& src, const PixelRows& dst);
