#pragma once
#include <cstdint>

#include "rgb_pixels.h"

// Where the frames of a sprite sheet go: `count` cells of cellW x cellH,
// left to right and top to bottom in `columns` columns, `padding` pixels
// apart (between cells only, not around them).
struct SheetLayout {
    int count, columns, padding, cellW, cellH;

    int Rows() const { return (count + columns - 1) / columns; }
    int64_t Width() const { return int64_t{columns} * cellW + int64_t{columns - 1} * padding; }
    int64_t Height() const { return int64_t{Rows()} * cellH + int64_t{Rows() - 1} * padding; }
    // Widened: a huge padding between cells that never meet must not
    // overflow; a layout whose size is allowed keeps every cell within int.
    int X(int cell) const { return static_cast<int>(cell % columns * (int64_t{cellW} + padding)); }
    int Y(int cell) const { return static_cast<int>(cell / columns * (int64_t{cellH} + padding)); }
};

// A sheet of the layout's size, fully transparent.
RgbPixels EmptySheet(const SheetLayout& layout);

// Copies a frame of the cell size into its cell, opaque.
void PlaceCell(RgbPixels& sheet, const SheetLayout& layout, int cell, const RgbPixels& frame);
