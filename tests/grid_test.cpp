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

TEST(Grid, DrawsAlternatingGreysOverTheWholePixelsOnly) {
    const Rgb dark{64, 64, 64}, light{192, 192, 192}, grey{128, 128, 128};
    Bmp picture(300, 300, "picture"), screen(1024, 768, "screen");
    for (int mode : {Grid::Pixels, Grid::Tiles}) {
        Lens lens(10, 0, 0, 1024, 768);
        Grid grid{mode, 3};
        lens.Show(&picture, &screen);
        grid.Draw(screen.GetBitmap(), lens);
        int line = mode == Grid::Pixels ? 10 : 30;
        EXPECT_EQ(PixelAt(screen.GetBitmap(), line, 1), light);
        EXPECT_EQ(PixelAt(screen.GetBitmap(), line, 2), dark);
        EXPECT_EQ(PixelAt(screen.GetBitmap(), line + 1, 2), RgbOf(0));
        EXPECT_EQ(PixelAt(screen.GetBitmap(), 2, line), dark);
        EXPECT_EQ(PixelAt(screen.GetBitmap(), 1020, line), grey);  // beyond the 102 whole pixels
    }
    Lens three(3, 0, 0, 1024, 768);  // below x4 the pixel grid draws nothing
    three.Show(&picture, &screen);
    Grid{Grid::Pixels, 3}.Draw(screen.GetBitmap(), three);
    EXPECT_EQ(PixelAt(screen.GetBitmap(), 3, 3), RgbOf(0));
}
