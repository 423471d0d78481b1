// Flips and quarter turns of a 2x3 brush at every pixel size.
#include "bmp/brush_turns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pixels = std::vector<uint32_t>;  // row after row

// Values that fill every byte of the pixel, so a lost byte shows.
uint32_t Value(int i, int bpp) { return static_cast<uint32_t>((0x01020304u * (i + 1)) & (bpp == 4 ? ~0u : (1u << 8 * bpp) - 1)); }

void Put(const PixelGrid& p, const Pixels& px) {
    for (int i = 0; i < p.width * p.height; i++) WritePixel(p, i % p.width, i / p.width, px[i]);
}

Pixels Get(const PixelGrid& p) {
    Pixels px;
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) px.push_back(ReadPixel(p, x, y));
    return px;
}

}  // namespace

TEST(BrushTurns, TurnsAndFlipsMoveEveryPixelWhereItBelongs) {
    for (int bpp = 1; bpp <= 4; bpp++) {
        SCOPED_TRACE("bytes per pixel " + std::to_string(bpp));
        auto v = [&](std::vector<int> order) {
            Pixels px;
            for (int i : order) px.push_back(Value(i, bpp));
            return px;
        };
        PixelBuffer brush(2, 3, bpp), turned(3, 2, bpp), back(2, 3, bpp);
        Put(brush.Rows(), v({0, 1, 2, 3, 4, 5}));  // a b / c d / e f
        TurnClockwise(brush.Rows(), turned.Rows());
        EXPECT_EQ(v({4, 2, 0, 5, 3, 1}), Get(turned.Rows()));  // e c a / f d b
        TurnAnticlockwise(turned.Rows(), back.Rows());
        EXPECT_EQ(v({0, 1, 2, 3, 4, 5}), Get(back.Rows()));
        TurnAnticlockwise(brush.Rows(), turned.Rows());
        EXPECT_EQ(v({1, 3, 5, 0, 2, 4}), Get(turned.Rows()));  // b d f / a c e
        for (int i = 0; i < 2; i++) {
            TurnClockwise(back.Rows(), turned.Rows());
            TurnClockwise(turned.Rows(), back.Rows());
        }
        EXPECT_EQ(v({0, 1, 2, 3, 4, 5}), Get(back.Rows())) << "four turns";
        FlipLeftRight(brush.Rows());
        EXPECT_EQ(v({1, 0, 3, 2, 5, 4}), Get(brush.Rows()));
        FlipTopBottom(brush.Rows());
        EXPECT_EQ(v({5, 4, 3, 2, 1, 0}), Get(brush.Rows()));
        FlipLeftRight(brush.Rows());
        FlipTopBottom(brush.Rows());
        EXPECT_EQ(v({0, 1, 2, 3, 4, 5}), Get(brush.Rows()));
    }
}
