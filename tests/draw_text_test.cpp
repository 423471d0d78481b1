// DrawText: the magnified size, colour 0 behind the letters, nothing for an
// empty text.
#include <gtest/gtest.h>

#include <algorithm>

#include "bmp/draw_text.h"
#include "test_support.h"

namespace {

struct Canvas {
    BITMAP* b;
    int fill;
    Canvas() : b(create_bitmap(80, 60)), fill(makecol(10, 200, 30)) { clear_to_color(b, fill); }
    ~Canvas() { destroy_bitmap(b); }
    // The bounding box of every pixel that no longer has the fill colour.
    void Changed(int& x0, int& y0, int& x1, int& y1) const {
        x0 = y0 = 1 << 30;
        x1 = y1 = -1;
        for (int y = 0; y < b->h; y++)
            for (int x = 0; x < b->w; x++)
                if (getpixel(b, x, y) != fill) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y);
                    x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
    }
};

}  // namespace

TEST(DrawText, TwoLettersScaledTwoByThreeCoverThirtyTwoByTwentyFour) {
    Canvas c;
    int yellow = makecol(255, 255, 0);
    DrawText(c.b, "HI", 5, 7, yellow, 2, 3);
    int x0, y0, x1, y1;
    c.Changed(x0, y0, x1, y1);
    EXPECT_EQ(x0, 5);
    EXPECT_EQ(y0, 7);
    EXPECT_EQ(x1, 5 + 32 - 1);
    EXPECT_EQ(y1, 7 + 24 - 1);
    // Inside the covered area every pixel is either the text colour or black.
    int letters = 0, background = 0;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            int p = getpixel(c.b, x, y);
            if (p == yellow)
                letters++;
            else if (PixelAt(c.b, x, y) == (Rgb{0, 0, 0}))
                background++;
        }
    EXPECT_GT(letters, 0);
    EXPECT_GT(background, 0);
    EXPECT_EQ(letters + background, 32 * 24);
    // Each letter pixel is doubled across and tripled down: cells of 2x3.
    for (int y = y0; y < y1; y += 3)
        for (int x = x0; x < x1; x += 2)
            for (int k = 0; k < 6; k++)
                ASSERT_EQ(getpixel(c.b, x + k % 2, y + k / 2), getpixel(c.b, x, y));
}

TEST(DrawText, EmptyTextLeavesTheDestinationAlone) {
    Canvas c;
    DrawText(c.b, "", 0, 0, makecol(255, 255, 255), 1, 1);
    int x0, y0, x1, y1;
    c.Changed(x0, y0, x1, y1);
    EXPECT_EQ(x1, -1);
}

TEST(DrawText, HugeScaleDrawsNothingInsteadOfAllocating) {
    Canvas c;
    DrawText(c.b, "A", 0, 0, makecol(255, 255, 255), 1 << 28, 1 << 28);
    int x0, y0, x1, y1;
    c.Changed(x0, y0, x1, y1);
    EXPECT_EQ(x1, -1);
}
