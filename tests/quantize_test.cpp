// The quantizer on more colours than it may keep, and the nearest-colour
// search it and the GIF writer rely on.
#include "bmp/quantize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

int Distance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int shift : {0, 8, 16}) {
        int e = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
        d += e * e;
    }
    return d;
}

// Every colour of a 16x16x16 cube, 17 apart per channel: 4096 colours.
std::vector<uint32_t> Cube() {
    std::vector<uint32_t> px;
    for (uint32_t r = 0; r < 16; r++)
        for (uint32_t g = 0; g < 16; g++)
            for (uint32_t b = 0; b < 16; b++) px.push_back(r * 17 << 16 | g * 17 << 8 | b * 17);
    return px;
}

}  // namespace

// 4096 colours into 256: the full palette, the same each time, and no colour
// farther than about one cube step from its entry.
TEST(Quantize, ManyColoursFillThePaletteDeterministicallyAndStayNear) {
    std::vector<uint32_t> px = Cube();
    std::vector<uint32_t> palette = QuantizePalette(px.data(), px.size(), 256);
    EXPECT_EQ(256u, palette.size());
    std::reverse(px.begin(), px.end());
    EXPECT_EQ(palette, QuantizePalette(px.data(), px.size(), 256));
    NearestColour nearest(palette);
    int worst = 0;
    for (uint32_t c : px) worst = std::max(worst, Distance(c, palette[nearest.Index(c)]));
    EXPECT_LE(worst, 3 * 17 * 17);
}

// The search walks out from the nearest red and stops early: it must still
// find what comparing with every entry finds, the first of equals included.
TEST(Quantize, NearestAgreesWithComparingEveryEntry) {
    std::vector<uint32_t> palette;
    std::srand(11);
    for (int i = 0; i < 200; i++) palette.push_back(static_cast<uint32_t>(std::rand()) & 0xFFFFFF);
    palette.push_back(palette[7]);
    NearestColour nearest(palette);
    for (uint32_t c : Cube()) {
        size_t best = 0;
        for (size_t i = 1; i < palette.size(); i++)
            if (Distance(c, palette[i]) < Distance(c, palette[best])) best = i;
        ASSERT_EQ(static_cast<int>(best), nearest.Index(c)) << std::hex << c;
    }
}
