#pragma once
// Where the palette strip puts its swatches along the right edge of a
// screen: the pen and the second colour side by side at the top, then
// columns of square swatches, the first at the right, more to the left.
#include <cstddef>

#include "../bmp/area.h"

struct PaletteStripLayout {
    static constexpr int kMargin = 4;
    static constexpr int kBigSide = 40;
    static constexpr int kSwatchSide = 20;
    static constexpr int kMinWidth = 88;
    static constexpr int kMostRows = 32;
    // Below the two big swatches and a gap.
    static constexpr int kColumnsTop = kMargin + kBigSide + 8;

    PaletteStripLayout(int screenW, int screenH, size_t colours);

    int RowsPerColumn() const { return rows; }
    int Columns() const;
    int Width() const;
    int Left() const { return screenW - Width(); }
    Area Pen() const { return {Left() + kMargin, kMargin, kBigSide, kBigSide}; }
    Area Second() const { return {Left() + kMargin + kBigSide, kMargin, kBigSide, kBigSide}; }
    Area Swatch(size_t i) const;
    // The swatch an arrow leads to from `i` in palette mode: Up and Down
    // within its column, Left and Right across columns; `i` at an edge.
    size_t Neighbour(size_t i, int dx, int dy) const;

private:
    int screenW;
    int rows;
    size_t colours;
};
