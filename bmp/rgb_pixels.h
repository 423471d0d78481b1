#pragma once
#include <allegro.h>

#include <cstdint>
#include <vector>

// A picture as plain 8-bit-per-channel pixels, row after row, each
// 0xAARRGGBB: the form the encoders take, free of Allegro's colour depths.
struct RgbPixels {
    int w = 0, h = 0;
    std::vector<uint32_t> argb;

    const uint32_t* Row(int y) const { return argb.data() + static_cast<size_t>(y) * w; }
};

// The pixels of a bitmap of any colour depth, fully opaque.
RgbPixels PixelsOf(BITMAP* b);

// The pixels of a 32-bit bitmap whose top byte is the alpha (0 transparent):
// transparent pixels come out as 0 (black, alpha 0), every other pixel
// opaque. Bitmaps of other depths as PixelsOf.
RgbPixels PixelsWithAlphaOf(BITMAP* b);
