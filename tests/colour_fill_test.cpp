// The fill mode: colour replacement inside the pointer's box.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "bmp/bmp.h"
#include "learn/layer.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

int Red() { return makecol(255, 0, 0); }
int Blue() { return makecol(0, 0, 255); }
int Green() { return makecol(0, 255, 0); }
int White() { return makecol(255, 255, 255); }

// An editor whose frames follow a script (step i sets the keys held after
// frame i; past the end every key is let go, so the mode ends). G is let go
// after it has been read as held `gReads` times, as a user's key would be;
// whileGHeld runs on every read of the same press after the first.
class FillWorld : public TestWorld {
public:
    std::vector<std::function<void()>> steps;
    std::vector<std::vector<std::string>> shown;
    std::function<void()> whileGHeld;
    int gReads = 3;
    size_t frame = 0;

    bool KeyHeld(int k) override {
        bool held = World::KeyHeld(k);
        if (k == KEY_G && held) {
            // The first read is the mode's own test for the press.
            if (gCount > 0 && whileGHeld) whileGHeld();
            if (++gCount >= gReads) {
                HoldKey(KEY_G, false);
                gCount = 0;
            }
        }
        return held;
    }
    // A held G outlasts frames: only the reads above let it go.
    void Render() override {
        shown.push_back(text->lines);
        bool g = World::KeyHeld(KEY_G);
        ReleaseAllKeys();
        HoldKey(KEY_G, g);
        if (frame < steps.size()) steps[frame]();
        frame++;
        World::Render();
    }

private:
    int gCount = 0;
};

std::function<void()> Hold(std::initializer_list<int> keys) {
    std::vector<int> k(keys);
    return [k] {
        for (int key : k) HoldKey(key);
    };
}

class ColourFill : public ::testing::Test {
protected:
    TempDir dir;
    FillWorld w;
    BITMAP* b = nullptr;
    std::vector<int> before;

    void SetUp() override {
        b = LayerBitmap(w.layer);
        clear_to_color(b, White());
        ReleaseAllKeys();
    }
    void TearDown() override { ReleaseAllKeys(); }
    void SetBox(int bx, int by, int bw, int bh) {
        w.pointer->bx = bx;
        w.pointer->by = by;
        w.pointer->w = bw;
        w.pointer->h = bh;
    }
    void Snapshot() {
        before.clear();
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++) before.push_back(getpixel(b, x, y));
    }
    // Every pixel of the 64x64 corner: `from` inside the box became `to`,
    // everything else is as it was.
    void ExpectReplaced(int from, int to) {
        const Pointer& p = *w.pointer;
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++) {
                int was = before[y * 64 + x];
                bool inBox = x >= p.bx && x < p.bx + p.w && y >= p.by && y < p.by + p.h;
                int want = inBox && was == from ? to : was;
                ASSERT_EQ(RgbOf(want), PixelAt(b, x, y)) << "at " << x << "," << y;
            }
    }
    void RunFill() {
        HoldKey(KEY_C);
        w.ColourFill();
    }
    // The pointer at (x, y) with the given pen colour, and the picture as it
    // is before the fill kept for ExpectReplaced.
    void Aim(int x, int y, int pen) {
        w.pointer->x = x;
        w.pointer->y = y;
        w.pointer->colour = pen;
        Snapshot();
    }
    // One press of G in the C loop, which then ends.
    void FillOnce() {
        w.steps = {Hold({KEY_C, KEY_G})};
        RunFill();
    }
};

TEST_F(ColourFill, ReplacesTheColourUnderThePointerInsideTheBoxOnly) {
    rectfill(b, 12, 12, 15, 15, Red());  // two separate red areas in the box
    rectfill(b, 25, 14, 27, 18, Red());
    rectfill(b, 0, 0, 40, 3, Red());     // red crossing the box's edge
    rectfill(b, 18, 12, 20, 14, Green());
    SetBox(10, 2, 20, 18);
    Aim(13, 13, Blue());
    w.steps = {Hold({KEY_C, KEY_G}), Hold({KEY_C})};
    RunFill();
    ExpectReplaced(Red(), Blue());
    EXPECT_EQ(13, w.pointer->x);
    EXPECT_EQ(10, w.pointer->bx);
}

TEST_F(ColourFill, PointerOutsideTheBoxStillPicksTheColour) {
    rectfill(b, 50, 50, 52, 52, Green());
    rectfill(b, 5, 5, 8, 8, Green());
    rectfill(b, 9, 5, 12, 8, Red());
    SetBox(0, 0, 20, 20);
    Aim(51, 51, Blue());
    FillOnce();
    ExpectReplaced(Green(), Blue());
    EXPECT_EQ(RgbOf(Green()), PixelAt(b, 51, 51));
}

TEST_F(ColourFill, SeeThroughPixelsOfATransparentLayerBecomeOpaque) {
    w.layers.push_back(new Layer(&w, 64, 64, 1));
    w.SelectLayer(1);
    b = LayerBitmap(w.layer);
    rectfill(b, 4, 4, 6, 6, Red());
    SetBox(2, 2, 10, 10);
    Aim(3, 3, Blue());
    FillOnce();
    ExpectReplaced(makecol(255, 0, 255), Blue());
}

TEST_F(ColourFill, BoxReachingOutsideTheLayerFillsTheInsidePart) {
    SetBox(-5, -5, 10, 10);
    Aim(1, 1, Blue());
    FillOnce();
    ExpectReplaced(White(), Blue());
    EXPECT_EQ(RgbOf(Blue()), PixelAt(b, 4, 4));
}

TEST_F(ColourFill, HeldGFillsOnceAndEachNewPressFillsAgain) {
    rectfill(b, 0, 0, 9, 9, Red());
    SetBox(0, 0, 10, 10);
    w.pointer->x = 2;
    w.pointer->y = 2;
    w.pointer->colour = Blue();
    // While G stays down the pen turns green: a second fill during the same
    // press would turn the blue box green.
    w.gReads = 10;
    w.whileGHeld = [this] { w.pointer->colour = Green(); };
    w.steps = {Hold({KEY_C, KEY_G}), Hold({KEY_C}), Hold({KEY_C})};
    RunFill();
    EXPECT_EQ(RgbOf(Blue()), PixelAt(b, 5, 5));

    // A fresh press replaces the colour now under the pointer (blue).
    w.whileGHeld = nullptr;
    w.pointer->colour = Green();
    w.frame = 0;
    w.steps = {Hold({KEY_C, KEY_G}), Hold({KEY_C})};
    RunFill();
    EXPECT_EQ(RgbOf(Green()), PixelAt(b, 5, 5));
}

TEST_F(ColourFill, ShowsItsMenuWhileOpenAndClearsIt) {
    w.steps = {Hold({KEY_C}), Hold({KEY_C})};
    RunFill();
    ASSERT_GE(w.shown.size(), 3u);
    std::vector<std::string> menu = {"- C loop -", " ", "G - colour fill"};
    EXPECT_EQ(menu, w.shown[0]);
    EXPECT_EQ(menu, w.shown.back());
    EXPECT_TRUE(w.text->lines.empty());
    EXPECT_EQ(3u, w.frame);
}

TEST_F(ColourFill, PenEqualToTargetChangesNothing) {
    rectfill(b, 0, 0, 9, 9, Blue());
    SetBox(0, 0, 20, 20);
    w.pointer->colour = Blue();
    Snapshot();
    FillOnce();
    ExpectReplaced(Blue(), Blue());
}

}  // namespace
