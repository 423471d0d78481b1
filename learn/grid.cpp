#include "grid.h"

#include <algorithm>
#include <array>
#include <memory>

#include "lens.h"

namespace {

struct BitmapDeleter {
    void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

// Dark and light grey alternate pixel by pixel, so a line shows on any
// colour beneath it; which one a pixel gets follows (x + y) on the screen,
// so the checker stays whole where lines cross.
using Greys = std::array<int, 2>;

Greys GreysOfDepth(int depth) { return {makecol_depth(depth, 64, 64, 64), makecol_depth(depth, 192, 192, 192)}; }

// A row of w pixels in the alternating greys: a horizontal line is a copy of
// it, started one pixel in on odd rows.
BitmapPtr PatternRow(int depth, int w, const Greys& greys) {
    BitmapPtr row(create_bitmap_ex(depth, w, 1));
    if (!row) return row;
    for (int x = 0; x < w; x++) putpixel(row.get(), x, 0, greys[x & 1]);
    return row;
}

// The vertical lines' pixels on one row: hundreds of rows with a pixel per
// line each are too many for putpixel's clipping and bank calls, so 32-bit
// surfaces (the editor's) are written through the row's address.
void PutColumnsOnRow(BITMAP* dest, int y, const std::vector<int>& columns, const Greys& greys) {
    if (bitmap_color_depth(dest) != 32) {
        for (int x : columns) putpixel(dest, x, y, greys[(x + y) & 1]);
        return;
    }
    uintptr_t row = bmp_write_line(dest, y);
    for (int x : columns) bmp_write32(row + x * sizeof(uint32_t), greys[(x + y) & 1]);
}

// The step between lines, in picture pixels; 0 when the mode draws none.
int LineStep(const Grid& grid, int mag) {
    if (grid.mode == Grid::Pixels) return mag >= Grid::kPixelGridMinMag ? 1 : 0;
    if (grid.mode == Grid::Tiles) return grid.tile;
    return 0;
}

}  // namespace

void Grid::Cycle() { mode = (mode + 1) % 3; }

void Grid::Sanitize() {
    if (mode < Off || mode > Tiles) mode = Off;
    if (tile < 1) tile = kDefaultTile;
}

std::vector<int> GridLineOffsets(int64_t origin, int step, int mag, int shown) {
    std::vector<int> offsets;
    if (step < 1 || mag < 1) return offsets;
    // From origin to the first picture coordinate at or after it that is a
    // multiple of step (C++'s remainder of a negative origin is negative).
    int64_t first = (step - origin % step) % step;
    for (int64_t p = first; p * mag < shown; p += step) offsets.push_back(static_cast<int>(p * mag));
    return offsets;
}

void Grid::Draw(BITMAP* dest, const Lens& lens) const {
    int step = LineStep(*this, lens.mag);
    if (step == 0) return;
    int shownW = std::min(lens.ViewW() * lens.mag, dest->w);
    int shownH = std::min(lens.ViewH() * lens.mag, dest->h);
    int depth = bitmap_color_depth(dest);
    Greys greys = GreysOfDepth(depth);
    BitmapPtr row = PatternRow(depth, shownW + 1, greys);
    if (!row) return;
    for (int y : GridLineOffsets(lens.y, step, lens.mag, shownH)) blit(row.get(), dest, y & 1, 0, 0, y, shownW, 1);
    std::vector<int> columns = GridLineOffsets(lens.x, step, lens.mag, shownW);
    acquire_bitmap(dest);
    for (int y = 0; y < shownH; y++) PutColumnsOnRow(dest, y, columns, greys);
    bmp_unwrite_line(dest);
    release_bitmap(dest);
}
