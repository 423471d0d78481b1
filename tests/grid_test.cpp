// The grid over the lens view: where its lines fall and their two greys.
#include "learn/grid.h"

#include <gtest/gtest.h>

#include "bmp/bmp.h"
#include "learn/lens.h"
#include "test_support.h"

TEST(Grid, LinesFallOnPixelBoundariesAlignedToThePicture) {
    struct Case { int64_t origin; int step, mag, shown; std::vector<int> want; };
    const Case cases[] = {
        {0, 1, 7, 29, {0, 7, 14, 21, 28}},  // the pixel grid at x7
        {5, 4, 10, 100, {30, 70}},           // tile lines at picture columns 8 and 12
        {-3, 4, 1, 12, {3, 7, 11}},          // left of the picture: columns 0, 4, 8
        {-2147483648LL, 16, 16, 64, {0}},    // a position far out, without overflow
    };
    for (const Case& c : cases) EXPECT_EQ(GridLineOffsets(c.origin, c.step, c.mag, c.shown), c.want) << c.origin;
}

// The second line across and down, its greys by x + y and the picture
// beside it; the lines stop at the 102 whole pixels; none below x4.
TEST(Grid, DrawsAlternatingGreysOnTheLinesOnly) {
    const Rgb dark{64, 64, 64}, light{192, 192, 192}, grey{128, 128, 128}, black{0, 0, 0};
    Bmp picture(300, 300, "picture"), screen(1024, 768, "screen");
    BITMAP* s = screen.GetBitmap();
    struct Case { int mode, mag, line; std::vector<Rgb> want; };
    const Case cases[] = {{Grid::Pixels, 10, 10, {light, dark, dark, black, grey}},
                          {Grid::Tiles, 10, 30, {light, dark, dark, black, grey}},
                          {Grid::Pixels, 3, 3, {black, black, black, black, grey}}};
    for (const Case& c : cases) {
        Lens lens(c.mag, 0, 0, 1024, 768);
        lens.Show(&picture, &screen);
        Grid{c.mode, 3}.Draw(s, lens);
        int l = c.line;
        EXPECT_EQ((std::vector<Rgb>{PixelAt(s, l, 1), PixelAt(s, l, 2), PixelAt(s, 2, l), PixelAt(s, l + 1, 2),
                                    PixelAt(s, 1020, l)}), c.want) << c.mode << " x" << c.mag;
    }
}
