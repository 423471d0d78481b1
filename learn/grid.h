#pragma once
#include <allegro.h>

#include <cstdint>
#include <vector>

class Lens;

// The grid over the lens view: lines between picture pixels, or every `tile`
// picture pixels. It is drawn on the screen surface only, never into a
// layer, so no saved picture holds it.
struct Grid {
    enum Mode { Off = 0, Pixels = 1, Tiles = 2 };
    static constexpr int kDefaultTile = 16;
    // Below this magnification lines between all pixels would hide them.
    static constexpr int kPixelGridMinMag = 4;

    int mode = Off;
    int tile = kDefaultTile;

    // Off, pixel grid, tile grid, off again.
    void Cycle();
    // Brings values read from the settings file back in range.
    void Sanitize();
    // The lines over the whole picture pixels that the lens shows on dest.
    void Draw(BITMAP* dest, const Lens& lens) const;
};

// The screen offsets, below `shown`, of lines every `step` picture pixels at
// magnification `mag`, aligned to picture coordinates that are multiples of
// `step`; `origin` is the picture coordinate at screen offset 0.
std::vector<int> GridLineOffsets(int64_t origin, int step, int mag, int shown);
