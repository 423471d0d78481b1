#pragma once
#include <allegro.h>

#include "rgba_rows.h"

// Writes one decoded row into `dest` at its colour depth, dest->w pixels.
// This is where a loaded picture's alpha is dropped: every pixel keeps the
// colour stored under it, whatever its alpha, so BMP and PNG pictures with
// alpha or a transparent colour load as the colours their files hold.
void StorePictureRow(BITMAP* dest, int y, const RgbaPixel* row);
