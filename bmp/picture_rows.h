#pragma once
#include <allegro.h>

#include "rgba_rows.h"

// Alpha below this is transparent: such pixels load as the mask colour.
const uint32_t kTransparentBelow = 128;

// Writes one decoded row into `dest` at its colour depth, dest->w pixels,
// and answers how many of them were transparent. This is where a loaded
// picture's alpha is dropped: a pixel of alpha below kTransparentBelow
// becomes the mask colour (magenta), so a see-through layer shows what is
// below it there; every other pixel keeps the colour stored under it. No
// alpha byte reaches the bitmap: every pixel is a plain colour value.
int StorePictureRow(BITMAP* dest, int y, const RgbaPixel* row);
