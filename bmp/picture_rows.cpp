#include "picture_rows.h"

namespace {

// Allegro's usual 32-bit layout (red, green, blue from the high byte down):
// the parts are only moved, which the compiler turns into a few vector
// instructions a row.
void StoreRow32Usual(uint32_t* out, const RgbaPixel* row, int w) {
    for (int x = 0; x < w; x++) {
        uint32_t v = row[x];
        out[x] = (v & 0xff) << 16 | (v & 0xff00) | (v >> 16 & 0xff);
    }
}

// The mask colour over every transparent pixel of a stored row: a second
// pass that finds none in opaque rows, so the copies above stay simple.
int MaskTransparent32(uint32_t* out, const RgbaPixel* row, int w) {
    int clear = 0;
    for (int x = 0; x < w; x++) clear += (row[x] >> 24) < kTransparentBelow;
    if (clear == 0) return 0;
    for (int x = 0; x < w; x++)
        if ((row[x] >> 24) < kTransparentBelow) out[x] = MASK_COLOR_32;
    return clear;
}

// Red in the low byte, as Allegro lays out 32-bit colours without a
// graphics mode: only the alpha is cleared.
void StoreRow32Rgb(uint32_t* out, const RgbaPixel* row, int w) {
    for (int x = 0; x < w; x++) out[x] = row[x] & 0xffffff;
}

void StoreRow32(uint32_t* out, const RgbaPixel* row, int w) {
    // Shifts in locals: the stores to `out` could otherwise alias Allegro's
    // global shifts and force a reload for every pixel.
    const int rs = _rgb_r_shift_32, gs = _rgb_g_shift_32, bs = _rgb_b_shift_32;
    for (int x = 0; x < w; x++) {
        uint32_t v = row[x];
        out[x] = (v & 0xff) << rs | (v >> 8 & 0xff) << gs | (v >> 16 & 0xff) << bs;
    }
}

}  // namespace

int StorePictureRow(BITMAP* dest, int y, const RgbaPixel* row) {
    const int w = dest->w;
    if (bitmap_color_depth(dest) == 32 && is_memory_bitmap(dest)) {
        uint32_t* out = reinterpret_cast<uint32_t*>(dest->line[y]);
        if (_rgb_r_shift_32 == 16 && _rgb_g_shift_32 == 8 && _rgb_b_shift_32 == 0)
            StoreRow32Usual(out, row, w);
        else if (_rgb_r_shift_32 == 0 && _rgb_g_shift_32 == 8 && _rgb_b_shift_32 == 16)
            StoreRow32Rgb(out, row, w);
        else
            StoreRow32(out, row, w);
        return MaskTransparent32(out, row, w);
    }
    int clear = 0;
    const int mask = bitmap_mask_color(dest);
    for (int x = 0; x < w; x++) {
        uint32_t v = row[x];
        bool transparent = (v >> 24) < kTransparentBelow;
        clear += transparent;
        putpixel(dest, x, y, transparent ? mask : makecol(v & 0xff, v >> 8 & 0xff, v >> 16 & 0xff));
    }
    return clear;
}
