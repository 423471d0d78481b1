#include "grid.h"

#include <algorithm>
#include <memory>

#include "lens.h"

namespace {

struct BitmapDeleter {
    void operator()(BITMAP* b) const { destroy_bitmap(b); }
};
using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;

// A strip of w x h whose pixels alternate dark and light grey, so a line
// shows on any colour beneath it; starting a copy one pixel in swaps the
// order, which keeps the checker continuous where lines cross.
BitmapPtr PatternStrip(int depth, int w, int h) {
    BitmapPtr strip(create_bitmap_ex(depth, w, h));
    if (!strip) return strip;
    const int greys[2] = {makecol_depth(depth, 64, 64, 64), makecol_depth(depth, 192, 192, 192)};
    for (int i = 0; i < std::max(w, h); i++) putpixel(strip.get(), i % w, i % h, greys[i & 1]);
    return strip;
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
    // The first picture coordinate at or after origin that is a multiple of step.
    int64_t first = (step - origin % step) % step;
    for (int64_t p = first; p * mag < shown; p += step) offsets.push_back(static_cast<int>(p * mag));
    return offsets;
}

void Grid::Draw(BITMAP* dest, const Lens& lens) const {
    int step = LineStep(*this, lens.mag);
    if (step == 0) return;
    int shownW = lens.ViewW() * lens.mag, shownH = lens.ViewH() * lens.mag;
    int depth = bitmap_color_depth(dest);
    BitmapPtr row = PatternStrip(depth, shownW + 1, 1), column = PatternStrip(depth, 1, shownH + 1);
    if (!row || !column) return;
    for (int y : GridLineOffsets(lens.y, step, lens.mag, shownH)) blit(row.get(), dest, y & 1, 0, 0, y, shownW, 1);
    for (int x : GridLineOffsets(lens.x, step, lens.mag, shownW))
        blit(column.get(), dest, 0, x & 1, x, 0, 1, shownH);
}
