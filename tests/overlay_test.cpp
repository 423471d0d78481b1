// The message lines: placement, colour and scale follow the editor's widget.
#include "learn/overlay.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "txt/txt.h"

namespace {

class Overlay : public ::testing::Test {
protected:
    TempDir dir;
    TestWorld w;
    BITMAP* dest = nullptr;
    void SetUp() override {
        dest = create_bitmap(400, 200);
        clear_to_color(dest, 0);
    }
    void TearDown() override { destroy_bitmap(dest); }

    // Counts pixels of colour c in rows [y0, y1).
    int CountRows(int c, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = 0; x < dest->w; x++) n += PixelAt(dest, x, y) == RgbOf(c);
        return n;
    }
    int LeftmostOf(int c) {
        for (int x = 0; x < dest->w; x++)
            for (int y = 0; y < dest->h; y++)
                if (PixelAt(dest, x, y) == RgbOf(c)) return x;
        return -1;
    }
};

TEST_F(Overlay, EachLineSitsOneWidgetHeightBelowTheLast) {
    int orange = makecol(255, 180, 0);
    w.text->SetLines({"Layer 0", "Layer 1", "Layer 2"});
    w.text->Draw(dest);
    int h = w.txt->getHeight();
    ASSERT_EQ(20, h);  // scale 2x2: one 10-pixel line
    for (int i = 0; i < 3; i++) EXPECT_GT(CountRows(orange, i * h, (i + 1) * h), 20) << "line " << i;
    EXPECT_EQ(0, CountRows(orange, 3 * h, 200));
    // The outline reaches the left edge; the lettering starts just inside.
    EXPECT_GE(LeftmostOf(orange), 2);
    EXPECT_LE(LeftmostOf(orange), 6);
    EXPECT_GT(CountRows(0, 0, 3 * h), 0);
}

TEST_F(Overlay, EmptyListDrawsNothing) {
    w.text->SetLines({"x"});
    w.text->ClearLines();
    w.text->Draw(dest);
    EXPECT_EQ(0, CountRows(makecol(255, 180, 0), 0, 200));
}

TEST_F(Overlay, LinesFollowTheWidgetsColourAndScale) {
    int blue = makecol(0, 0, 255);
    w.txt->setColour(blue);
    w.txt->setScale(3, 1);
    w.text->SetLines({"I", "I"});
    w.text->Draw(dest);
    EXPECT_EQ(10, w.txt->getHeight());
    EXPECT_GT(CountRows(blue, 0, 10), 0);
    EXPECT_GT(CountRows(blue, 10, 20), 0);
    EXPECT_EQ(0, CountRows(blue, 20, 200));
    EXPECT_EQ(0, CountRows(makecol(255, 180, 0), 0, 200));
    // The same one-letter line is three times as wide per font pixel.
    EXPECT_EQ(3 * 10, w.txt->getWidth());
}

TEST_F(Overlay, MessageShowsOneLine) {
    w.text->SetLines({"a", "b"});
    w.Message("Layer 3 selected");
    EXPECT_EQ(std::vector<std::string>{"Layer 3 selected"}, w.text->lines);
}

}  // namespace
