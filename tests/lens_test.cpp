// The lens: window size per magnification, the grey outside the picture,
// zoom limits and the pan mode.
#include "learn/lens.h"

#include <gtest/gtest.h>

#include "all/display.h"
#include "bmp/bmp.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

const Rgb kGrey{128, 128, 128};

int PictureColour(int x, int y) { return makecol(x % 256, y % 256, 77); }

// A picture whose every pixel names its own position.
Bmp* Picture(int w, int h) {
    Bmp* b = new Bmp(w, h, "picture");
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) putpixel(b->GetBitmap(), x, y, PictureColour(x, y));
    return b;
}

}  // namespace

TEST(Lens, WindowIsTheScreenDividedByTheMagnification) {
    Lens lens(16, 0, 0, 1024, 768);
    EXPECT_EQ(lens.mag, 16);
    EXPECT_EQ(lens.view->Width(), 64);
    EXPECT_EQ(lens.view->Height(), 48);
    lens.Zoom(-8);
    EXPECT_EQ(lens.view->Width(), 128);
    EXPECT_EQ(lens.view->Height(), 96);
    lens.Zoom(-7);  // mag 1: the whole screen
    EXPECT_EQ(lens.view->Width(), 1024);
    EXPECT_EQ(lens.view->Height(), 768);
    lens.Zoom(6);  // mag 7 does not divide the screen
    EXPECT_EQ(lens.view->Width(), 1024 / 7);
    EXPECT_EQ(lens.view->Height(), 768 / 7);
}

TEST(Lens, ZoomOutStopsAtOne) {
    Lens lens(1, 0, 0, 1024, 768);
    lens.Zoom(-1);
    EXPECT_EQ(lens.mag, 1);
    EXPECT_EQ(lens.view->Width(), 1024);
    lens.Zoom(-50);
    EXPECT_EQ(lens.mag, 1);
}

TEST(Lens, ZoomInStopsWhileTheWindowIsAtLeastOnePixel) {
    Lens lens(760, 0, 0, 1024, 768);
    for (int i = 0; i < 20; i++) lens.Zoom(1);
    EXPECT_GE(lens.view->Width(), 1);
    EXPECT_GE(lens.view->Height(), 1);
    EXPECT_EQ(lens.mag, 768);
    lens.Zoom(-1);
    EXPECT_EQ(lens.mag, 767);

    Lens huge(100000, 0, 0, 1024, 768);
    EXPECT_EQ(huge.view->Width(), 1);
    EXPECT_EQ(huge.view->Height(), 1);
}

TEST(Lens, MagnificationBelowOneIsTreatedAsOne) {
    for (int mag : {0, -1, -16}) {
        SCOPED_TRACE(mag);
        Lens lens(mag, 0, 0, 1024, 768);
        EXPECT_EQ(lens.mag, 1);
        EXPECT_EQ(lens.view->Width(), 1024);
        EXPECT_EQ(lens.view->Height(), 768);
    }
}

TEST(Lens, ShowMagnifiesTheWindow) {
    Bmp* pic = Picture(200, 100);
    Bmp dest(1024, 768, "dest");
    Lens lens(16, 5, 3, 1024, 768);
    lens.Show(pic, &dest);
    for (int sy = 0; sy < 768; sy += 37)
        for (int sx = 0; sx < 1024; sx += 29)
            ASSERT_EQ(PixelAt(dest.GetBitmap(), sx, sy), RgbOf(PictureColour(5 + sx / 16, 3 + sy / 16)))
                << sx << "," << sy;

    Lens one(1, 10, 20, 1024, 768);
    one.Show(pic, &dest);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 0, 0), RgbOf(PictureColour(10, 20)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 189, 79), RgbOf(PictureColour(199, 99)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 190, 0), kGrey);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 0, 80), kGrey);
    delete pic;
}

TEST(Lens, GreyWhereTheWindowLeavesThePicture) {
    Bmp* pic = Picture(100, 100);
    Bmp dest(1024, 768, "dest");
    Lens lens(16, -10, 0, 1024, 768);
    lens.Show(pic, &dest);
    // The left 10 picture columns, 160 screen columns, are grey.
    for (int sy = 0; sy < 768; sy += 47) {
        EXPECT_EQ(PixelAt(dest.GetBitmap(), 0, sy), kGrey);
        EXPECT_EQ(PixelAt(dest.GetBitmap(), 159, sy), kGrey);
        EXPECT_EQ(PixelAt(dest.GetBitmap(), 160, sy), RgbOf(PictureColour(0, sy / 16)));
    }
    // Beyond the right and bottom edges as well.
    lens.x = 70;
    lens.y = 80;
    lens.Show(pic, &dest);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 30 * 16 - 1, 0), RgbOf(PictureColour(99, 80)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 30 * 16, 0), kGrey);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 0, 20 * 16 - 1), RgbOf(PictureColour(70, 99)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 0, 20 * 16), kGrey);
    delete pic;
}

TEST(Lens, PanMovesWithoutLimits) {
    Lens lens(16, 0, 0, 1024, 768);
    lens.Pan(-5, 3);
    lens.Pan(-100000, 7);
    EXPECT_EQ(lens.x, -100005);
    EXPECT_EQ(lens.y, 10);
}

class PanMode : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }
    TempDir dir;
};

TEST_F(PanMode, HeldArrowsPanWithAGrowingStep) {
    ScriptedWorld world;
    HoldKey(KEY_Z);
    HoldKey(KEY_RIGHT);
    HoldKey(KEY_DOWN);
    auto keep = [] {};
    auto stopDown = [] { HoldKey(KEY_DOWN, false); };
    auto release = [] { ReleaseAllKeys(); };
    // Passes: right+down, right+down, right, right; then Z is let go.
    world.steps = {keep, stopDown, keep, release};
    world.PanLens();
    EXPECT_EQ(world.frames, 4);
    EXPECT_FALSE(world.overran);
    EXPECT_EQ(world.lens->x, 0 + 1 + 2 + 3);
    EXPECT_EQ(world.lens->y, 0 + 1);
}

TEST_F(PanMode, LeftAndUpPanTheOtherWay) {
    ScriptedWorld world;
    HoldKey(KEY_Z);
    HoldKey(KEY_LEFT);
    HoldKey(KEY_UP);
    world.steps = {[] {}, [] {}, [] { ReleaseAllKeys(); }};
    world.PanLens();
    EXPECT_EQ(world.lens->x, -(0 + 1 + 2));
    EXPECT_EQ(world.lens->y, -(0 + 1 + 2));
}

TEST_F(PanMode, EnterBringsViewAndPointerHome) {
    ScriptedWorld world;
    world.lens->x = 40;
    world.lens->y = -7;
    world.pointer->x = 30;
    world.pointer->y = 20;
    HoldKey(KEY_Z);
    world.steps = {[] { HoldKey(KEY_ENTER); }, [] { ReleaseAllKeys(); }};
    world.PanLens();
    EXPECT_EQ(world.lens->x, 0);
    EXPECT_EQ(world.lens->y, 0);
    EXPECT_EQ(world.pointer->x, 0);
    EXPECT_EQ(world.pointer->y, 0);
}

TEST_F(PanMode, PlainZEntersThePanModeFromTheKeyPass) {
    ScriptedWorld world;
    HoldKey(KEY_Z);
    HoldKey(KEY_RIGHT);
    world.steps = {[] {}, [] {}, [] { ReleaseAllKeys(); }};
    int xBefore = world.pointer->x;
    world.DoKeys();
    EXPECT_EQ(world.frames, 3);
    EXPECT_EQ(world.lens->x, 0 + 1 + 2);
    // Z comes before RIGHT in the pass, and the arrow was let go inside the
    // pan mode: the pointer stays put.
    EXPECT_EQ(world.pointer->x, xBefore);
}
