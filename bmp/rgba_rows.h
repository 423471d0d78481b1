#pragma once
#include <cstdint>
#include <functional>

// A decoded picture's pixel as the picture readers hand it over: red in the
// lowest byte, then green, blue and alpha (255 opaque). The readers know
// nothing of Allegro; picture_rows turns these rows into a bitmap.
using RgbaPixel = uint32_t;

constexpr RgbaPixel Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return r | g << 8 | b << 16 | a << 24;
}

// Receives row y (0 the top row) of a picture w pixels wide. Rows may come
// in any order; each comes once.
using RgbaRowSink = std::function<void(int y, const RgbaPixel* row)>;
