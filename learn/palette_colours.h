#pragma once
// Between the editor's colour values (Allegro's, of the current depth) and
// the palette's 0xRRGGBB.
#include <allegro.h>

#include <cstdint>

inline uint32_t RgbValue(int colour) {
    return uint32_t(getr(colour)) << 16 | uint32_t(getg(colour)) << 8 | uint32_t(getb(colour));
}

inline int ColourValue(uint32_t rgb) { return makecol(int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255)); }
