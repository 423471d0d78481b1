// The ellipse's shape rules, checked for every box up to 40x40 and some long,
// flat and large ones.
#include "bmp/ellipse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The outline drawn into a w x h grid of flags.
struct Drawing {
    Drawing(int w, int h) : w(w), h(h), set(static_cast<size_t>(w) * h) {
        int lastY = -1, lastX = -2;
        for (Span s : EllipseOutline(w, h)) {
            EXPECT_TRUE(s.y >= 0 && s.y < h && s.x0 >= 0 && s.x0 <= s.x1 && s.x1 < w) << s.y;
            EXPECT_TRUE(s.y > lastY || s.x0 > lastX + 1) << "spans out of order or overlapping in row " << s.y;
            for (int x = std::max(s.x0, 0); x <= std::min(s.x1, w - 1); x++) set[s.y * static_cast<size_t>(w) + x] = 1;
            lastY = s.y, lastX = s.x1;
        }
    }
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && set[y * static_cast<size_t>(w) + x]; }
    int Neighbours(int x, int y) const {
        int n = 0;
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) n += (dx || dy) && At(x + dx, y + dy);
        return n;
    }
    int w, h;
    std::vector<char> set;
};

void CheckBox(int w, int h) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Drawing d(w, h);
    bool top = false, bottom = false, left = false, right = false;
    for (int x = 0; x < w; x++) top |= d.At(x, 0), bottom |= d.At(x, h - 1);
    for (int y = 0; y < h; y++) left |= d.At(0, y), right |= d.At(w - 1, y);
    EXPECT_TRUE(top && bottom && left && right);
    std::vector<Span> filled = EllipseFilled(w, h);
    ASSERT_EQ(static_cast<size_t>(h), filled.size());
    for (int y = 0; y < h; y++) {
        int x0 = w, x1 = -1;
        for (int x = 0; x < w; x++) {
            if (!d.At(x, y)) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            ASSERT_EQ(d.At(x, y), d.At(w - 1 - x, y) && d.At(x, h - 1 - y)) << "asymmetric at " << x << "," << y;
            if (w == h) {
                ASSERT_TRUE(d.At(y, x)) << "not a circle at " << x << "," << y;
            }
            if (w >= 3 && h >= 3) {
                ASSERT_EQ(2, d.Neighbours(x, y)) << "at " << x << "," << y;
            }
        }
        EXPECT_EQ(y, filled[y].y);
        EXPECT_EQ(x0, filled[y].x0) << "row " << y;
        EXPECT_EQ(x1, filled[y].x1) << "row " << y;
    }
}

}  // namespace

TEST(Ellipse, EveryBoxTouchesItsSidesSymmetricallyWithAThinOutline) {
    for (int w = 1; w <= 40; w++)
        for (int h = 1; h <= 40; h++) CheckBox(w, h);
    for (auto [w, h] : {std::pair{1, 2000}, {2000, 1}, {3, 8}, {16, 3}, {2048, 5}, {4, 3000}, {1000, 1000}, {999, 1001}})
        CheckBox(w, h);
    EXPECT_TRUE(EllipseOutline(0, 5).empty() && EllipseFilled(7, 0).empty());
}
