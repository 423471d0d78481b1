#include "rgb_pixels.h"

namespace {

const uint32_t kOpaque = 0xFF000000u;

// 32-bit memory bitmaps are read straight from their lines: a call per
// pixel would cost more than the PNG compression of a large picture.
void Read32(BITMAP* b, RgbPixels& out) {
    for (int y = 0; y < b->h; y++) {
        const uint32_t* line = reinterpret_cast<const uint32_t*>(b->line[y]);
        uint32_t* row = out.argb.data() + static_cast<size_t>(y) * b->w;
        for (int x = 0; x < b->w; x++) {
            uint32_t c = line[x];
            row[x] = kOpaque | static_cast<uint32_t>(getr32(c)) << 16 | getg32(c) << 8 | getb32(c);
        }
    }
}

void ReadAnyDepth(BITMAP* b, RgbPixels& out) {
    int depth = bitmap_color_depth(b);
    for (int y = 0; y < b->h; y++) {
        uint32_t* row = out.argb.data() + static_cast<size_t>(y) * b->w;
        for (int x = 0; x < b->w; x++) {
            int c = getpixel(b, x, y);
            row[x] = kOpaque | static_cast<uint32_t>(getr_depth(depth, c)) << 16 | getg_depth(depth, c) << 8 |
                     getb_depth(depth, c);
        }
    }
}

}  // namespace

RgbPixels PixelsOf(BITMAP* b) {
    RgbPixels out;
    out.w = b->w;
    out.h = b->h;
    out.argb.resize(static_cast<size_t>(b->w) * b->h);
    if (bitmap_color_depth(b) == 32 && is_memory_bitmap(b))
        Read32(b, out);
    else
        ReadAnyDepth(b, out);
    return out;
}

RgbPixels PixelsWithAlphaOf(BITMAP* b) {
    RgbPixels out = PixelsOf(b);
    if (bitmap_color_depth(b) != 32) return out;
    for (int y = 0; y < b->h; y++) {
        const uint32_t* line = reinterpret_cast<const uint32_t*>(b->line[y]);
        uint32_t* row = out.argb.data() + static_cast<size_t>(y) * b->w;
        for (int x = 0; x < b->w; x++)
            if (geta32(line[x]) == 0) row[x] = 0;
    }
    return out;
}
