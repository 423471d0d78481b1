#pragma once
#include <allegro.h>

#include "pixel_grid.h"

// A memory bitmap's rows as the display-free tools take them.
inline PixelGrid GridOf(BITMAP* b) { return {b->line, b->w, b->h, (bitmap_color_depth(b) + 7) / 8}; }
