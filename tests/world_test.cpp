// The editor shell: construction without files, undo, the clear colour,
// frame composition and the main loop's exit.
#include "learn/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "all/display.h"
#include "bmp/bmp.h"
#include "learn/frames.h"
#include "learn/history.h"
#include "learn/key_recorder.h"
#include "learn/overlay.h"
#include "learn/layer.h"
#include "learn/lens.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

const Rgb kBlack{0, 0, 0};

class Editor : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }
    TempDir dir;
};

// A canvas of three layers with distinct patterns: an opaque bottom and two
// transparent layers with holes of the mask colour.
void PaintLayers(World& w, int width, int height) {
    ASSERT_TRUE(w.resizeCanvas(width, height));
    w.layers.push_back(new Layer(&w, width, height, 1));
    w.layers.push_back(new Layer(&w, width, height, 1));
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            putpixel(LayerBitmap(w.layers[0]), x, y, makecol(x % 256, y % 256, 40));
            if ((x / 3 + y / 5) % 2 == 0)
                putpixel(LayerBitmap(w.layers[1]), x, y, makecol(200, x % 256, y % 256));
            if (x % 7 == 0 || y % 11 == 0) putpixel(LayerBitmap(w.layers[2]), x, y, makecol(10, 250, 10));
        }
}

// What the screen shows when every layer of the whole canvas is composed
// and the lens window around (x, y) is magnified, done with plain Allegro.
BITMAP* ReferenceScreen(World& w) {
    int width = w.layers[0]->width, height = w.layers[0]->height;
    BITMAP* canvas = create_bitmap(width, height);
    clear_to_color(canvas, 0);
    for (Layer* l : w.layers) {
        if (l->mode == 0)
            blit(LayerBitmap(l), canvas, 0, 0, 0, 0, width, height);
        else
            draw_sprite(canvas, LayerBitmap(l), 0, 0);
    }
    int mag = w.lens->mag;
    BITMAP* view = create_bitmap(1024 / mag, 768 / mag);
    clear_to_color(view, makecol(128, 128, 128));
    blit(canvas, view, w.lens->x, w.lens->y, 0, 0, view->w, view->h);
    BITMAP* screen = create_bitmap(1024, 768);
    clear_to_color(screen, makecol(128, 128, 128));  // beyond the whole pixels
    stretch_blit(view, screen, 0, 0, view->w, view->h, 0, 0, view->w * mag, view->h * mag);
    destroy_bitmap(view);
    destroy_bitmap(canvas);
    return screen;
}

// The first pixel where the two screens differ, or "" when they agree.
std::string FirstDifference(BITMAP* a, BITMAP* b) {
    for (int y = 0; y < a->h; y++) {
        if (std::memcmp(a->line[y], b->line[y], a->w * 4) == 0) continue;
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y))
                return std::to_string(x) + "," + std::to_string(y);
    }
    return "";
}

// The first pixel where the screen differs from ReferenceScreen(w), or "".
std::string DifferenceFromReference(World& w) {
    BITMAP* ref = ReferenceScreen(w);
    std::string where = FirstDifference(display::screen, ref);
    destroy_bitmap(ref);
    return where;
}

void SetLens(World& w, int mag, int x, int y) {
    w.lens->mag = mag;
    w.lens->Fit();
    w.lens->x = x;
    w.lens->y = y;
}

}  // namespace

TEST_F(Editor, StartsWithoutFilesOnOneBlackLayerOfTheScreenSize) {
    testing::internal::CaptureStdout();
    TestWorld w;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(out.empty());
    ASSERT_EQ(w.layers.size(), 1u);
    EXPECT_EQ(w.layer, w.layers[0]);
    EXPECT_EQ(w.slayer, 0);
    EXPECT_EQ(w.layer->mode, 0);
    EXPECT_EQ(w.layer->width, display::screen->w);
    EXPECT_EQ(w.layer->height, display::screen->h);
    BITMAP* b = LayerBitmap(w.layer);
    for (int y = 0; y < b->h; y += 31)
        for (int x = 0; x < b->w; x += 29) ASSERT_EQ(getpixel(b, x, y), 0);
    EXPECT_EQ(w.pointers.size(), 10u);
    EXPECT_EQ(w.spointer, 0);
    EXPECT_EQ(w.pointer, w.pointers[0]);
    EXPECT_EQ(w.lens->mag, 16);
    EXPECT_EQ(w.stm->Width(), w.layer->width);
    EXPECT_EQ(w.stm->Height(), w.layer->height);
    EXPECT_EQ(w.stm2->Width(), display::screen->w);
    EXPECT_EQ(w.stm2->Height(), display::screen->h);
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
    EXPECT_EQ(w.stepX, 1);
    EXPECT_EQ(w.stepY, 1);
    // The start is where the history begins.
    ASSERT_NE(w.history, nullptr);
    EXPECT_EQ(w.history->UndoCount(), 0);
    EXPECT_EQ(w.history->RedoCount(), 0);
}

TEST_F(Editor, ACommandLineNameReplacesOnlyThePictureName) {
    TestWorld plain;
    TestWorld named("picture.pcx");
    EXPECT_EQ(named.cfile, "picture.pcx");
    EXPECT_NE(plain.cfile, "picture.pcx");
    EXPECT_EQ(named.layers.size(), plain.layers.size());
}

// A red pixel at (x, y) of the current layer as one step of the history.
void RedStep(World& w, int x, int y) {
    w.history->WillChange(w.layer, x, y, 1, 1);
    putpixel(LayerBitmap(w.layer), x, y, makecol(255, 0, 0));
    w.history->Close();
}

// The layer a step changed becomes current, and the view follows the canvas
// size a step gives back.
TEST_F(Editor, UndoAndRedoShowTheLayerAndCanvasOfTheStep) {
    TestWorld w;
    w.layers.push_back(new Layer(&w, w.layer->width, w.layer->height, 1));
    ASSERT_TRUE(w.resizeCanvas(40, 30));
    w.history->Close();
    RedStep(w, 39, 29);
    w.SelectLayer(1);
    w.Undo();
    EXPECT_EQ(w.slayer, 0);
    EXPECT_EQ(PixelAt(LayerBitmap(w.layers[0]), 39, 29), kBlack);
    EXPECT_EQ(getpixel(LayerBitmap(w.layers[1]), 39, 29), display::maskColour);
    w.Undo();
    EXPECT_EQ((std::vector<int>{1024, 1024}), (std::vector<int>{w.layer->width, w.stm->Width()}));
    w.Redo(), w.Redo();
    EXPECT_EQ((std::vector<int>{40, 30}), (std::vector<int>{w.stm->Width(), w.stm->Height()}));
    EXPECT_EQ(PixelAt(LayerBitmap(w.layers[0]), 39, 29), (Rgb{255, 0, 0}));
}

TEST_F(Editor, ClearColourOfTheCurrentLayer) {
    TestWorld w;
    EXPECT_EQ(w.ClearColour(), 0);
    w.layers.push_back(new Layer(&w, w.layer->width, w.layer->height, 1));
    w.SelectLayer(1);
    EXPECT_EQ(w.ClearColour(), makecol(255, 0, 255));
    w.SelectLayer(0);
    EXPECT_EQ(w.ClearColour(), 0);
}

TEST_F(Editor, WaitKeyReleaseEmptiesTheKeyBuffer) {
    TestWorld w;
    simulate_keypress((KEY_A << 8) | 'a');
    ASSERT_TRUE(keypressed());
    w.WaitKeyRelease(KEY_A);
    EXPECT_FALSE(keypressed());
}

TEST_F(Editor, RenderShowsWhatComposingTheWholeCanvasWouldShow) {
    TestWorld w;
    w.statusShown = w.paletteShown = false;  // the picture alone is compared
    PaintLayers(w, 300, 200);
    w.pointer->showCursor = false;
    const int settings[][3] = {{16, 0, 0},  {16, -10, -5}, {4, 250, 150},  {1, -20, 30},
                               {7, 100, 60}, {16, 290, 190}, {16, 400, 400}, {3, -500, 10}};
    for (auto& s : settings) {
        SCOPED_TRACE(testing::Message() << "mag " << s[0] << " at " << s[1] << "," << s[2]);
        SetLens(w, s[0], s[1], s[2]);
        w.Render();
        EXPECT_EQ(DifferenceFromReference(w), "");
    }
}

TEST_F(Editor, RenderShowsGreyOutsideThePicture) {
    TestWorld w;
    w.paletteShown = false;
    ASSERT_TRUE(w.resizeCanvas(32, 24));
    w.pointer->showCursor = false;
    w.Render();
    EXPECT_EQ(PixelAt(display::screen, 0, 0), kBlack);
    EXPECT_EQ(PixelAt(display::screen, 32 * 16 - 1, 24 * 16 - 1), kBlack);
    EXPECT_EQ(PixelAt(display::screen, 32 * 16, 0), (Rgb{128, 128, 128}));
    EXPECT_EQ(PixelAt(display::screen, 0, 24 * 16), (Rgb{128, 128, 128}));
    EXPECT_EQ(PixelAt(display::screen, 1023, 767), (Rgb{128, 128, 128}));
}

TEST_F(Editor, CursorIsOnePicturePixelAtThePointer) {
    TestWorld w;
    w.statusShown = w.paletteShown = false;  // the picture alone is compared
    PaintLayers(w, 100, 80);
    SetLens(w, 16, 2, 3);
    w.pointer->x = 7;
    w.pointer->y = 9;
    w.pointer->showCursor = true;
    w.Render();
    int sx = (7 - 2) * 16, sy = (9 - 3) * 16;
    int cursor = getpixel(display::screen, sx, sy);
    // Everything else is the plain composition; the block shows the cursor.
    BITMAP* ref = ReferenceScreen(w);
    rectfill(ref, sx, sy, sx + 15, sy + 15, cursor);
    EXPECT_EQ(FirstDifference(display::screen, ref), "");
    destroy_bitmap(ref);
}

TEST_F(Editor, NothingOfAnEarlierFrameShowsThroughATransparentBottomLayer) {
    TestWorld w;
    w.statusShown = w.paletteShown = false;  // the picture alone is compared
    PaintLayers(w, 120, 90);
    delete w.layers[0];
    w.layers[0] = new Layer(&w, 120, 90, 1);
    putpixel(LayerBitmap(w.layers[0]), 1, 1, makecol(255, 255, 0));
    w.SelectLayer(0);
    w.pointer->x = 5;
    w.pointer->y = 5;
    w.pointer->showCursor = true;
    w.Render();
    w.pointer->showCursor = false;
    SetLens(w, 16, 0, 0);
    w.Render();
    EXPECT_EQ(DifferenceFromReference(w), "");
}

TEST_F(Editor, ShiftEscEndsTheMainLoopEscAloneDoesNot) {
    ScriptedWorld w;
    w.steps = {[] { HoldKey(KEY_ESC); }, [] {}, [] { HoldKey(KEY_LSHIFT); }};
    w.Run();
    EXPECT_EQ(w.frames, 3);
    EXPECT_FALSE(w.overran);

    ReleaseAllKeys();
    ScriptedWorld right;
    right.steps = {[] { HoldKey(KEY_ESC); }, [] { HoldKey(KEY_RSHIFT); }};
    right.Run();
    EXPECT_EQ(right.frames, 2);
    EXPECT_FALSE(right.overran);

    // Shift alone does not quit either.
    ReleaseAllKeys();
    ScriptedWorld shift;
    shift.steps = {[] { HoldKey(KEY_LSHIFT); }, [] { HoldKey(KEY_ESC); }};
    shift.Run();
    EXPECT_EQ(shift.frames, 2);
}

TEST_F(Editor, NoFramesAreDrawnWhileReplaying) {
    ScriptedWorld w;
    testing::internal::CaptureStdout();
    w.keyMan->StartRecording();
    for (int i = 0; i < 3; i++) w.keyMan->Record(-1, KEY_RIGHT, "");
    w.keyMan->Record(-8, KEY_R, "");
    w.keyMan->StopRecording();
    w.pointer->x = 0;
    w.keyMan->StartReplay();
    w.steps = {[] {
        HoldKey(KEY_LSHIFT);
        HoldKey(KEY_ESC);
    }};
    w.Run();
    testing::internal::GetCapturedStdout();
    // Three replayed passes, then one frame once the replay had ended.
    EXPECT_EQ(w.frames, 1);
    EXPECT_EQ(w.pointer->x, 3);
}

TEST_F(Editor, ALensFarOutsideThePictureShowsOnlyGrey) {
    // Lens positions come from the settings file and are not limited.
    TestWorld w;
    w.paletteShown = false;
    PaintLayers(w, 50, 40);
    const int big = 2147483647, small = -2147483647 - 1;
    const int settings[][3] = {{16, big - 10, 0}, {16, 0, big}, {16, small + 5, small}, {1, big, big},
                               {1, small, 0}};
    for (auto& s : settings) {
        SCOPED_TRACE(testing::Message() << "mag " << s[0] << " at " << s[1] << "," << s[2]);
        SetLens(w, s[0], s[1], s[2]);
        w.Render();
        for (int y = 0; y < 768; y += 41)
            for (int x = 0; x < 1024; x += 37)
                ASSERT_EQ(PixelAt(display::screen, x, y), (Rgb{128, 128, 128})) << x << "," << y;
    }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(Editor, AStepWithoutMemoryEmptiesTheHistoryAndSaysSo) {
    TestWorld w;
    ASSERT_TRUE(w.resizeCanvas(3000, 3000));
    RedStep(w, 1, 1);
    ASSERT_EQ(w.history->UndoCount(), 1);
    std::string out;
    {
        MemoryCap cap(16L << 20);
        testing::internal::CaptureStdout();
        w.history->WillChange(w.layer, 0, 0, 3000, 3000);
        w.history->Close();
        out = testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(out, "Undo history cleared: change too large\n");
    EXPECT_EQ(w.history->UndoCount(), 0);
    EXPECT_EQ(w.history->Bytes(), 0u);
}
#endif

// The onion skin at the box at x1: the previous frame with green and blue
// halved, the next with red and green halved, each at 35% over the picture,
// which stays as it was. A file is decoded once, again when it changes, and
// a missing one shows nothing.
TEST_F(Editor, OnionSkinShowsTheFramesAroundTheCurrentOneAtTheBox) {
    TestWorld w;
    w.statusShown = w.paletteShown = false;
    ASSERT_TRUE(w.resizeCanvas(64, 48));
    w.pointer->showCursor = false;
    SetLens(w, 1, 0, 0);
    auto saveFrame = [](int n, int width, int grey) {
        BITMAP* b = create_bitmap(width, 1);
        clear_to_color(b, makecol(grey, grey, grey));
        ASSERT_EQ(save_bitmap(FrameFileName("img", n).c_str(), b, nullptr), 0);
        destroy_bitmap(b);
    };
    auto near = [](Rgb got, Rgb want) {
        return std::abs(got.r - want.r) <= 2 && std::abs(got.g - want.g) <= 2 && std::abs(got.b - want.b) <= 2;
    };
    saveFrame(0, 4, 200);
    saveFrame(2, 2, 200);
    w.files->filesPos = 1;
    w.pointer->bx = 10, w.pointer->by = 5;
    w.onion.mode = OnionSkin::Both;
    for (int pass = 0; pass < 2; pass++) w.Render();
    EXPECT_EQ(w.onion.Reads(), 2);
    EXPECT_TRUE(near(PixelAt(display::screen, 13, 5), {70, 35, 35}));
    // The next frame over the previous one: (70,35,35) 65% and (100,100,200) 35%.
    EXPECT_TRUE(near(PixelAt(display::screen, 11, 5), {80, 58, 93}));
    EXPECT_EQ(PixelAt(display::screen, 14, 5), kBlack);
    EXPECT_EQ(RgbOf(w.layer->Pixel(11, 5)), kBlack);

    saveFrame(0, 5, 100);
    std::remove(FrameFileName("img", 2).c_str());
    w.Render();
    EXPECT_EQ(w.onion.Reads(), 3);
    EXPECT_TRUE(near(PixelAt(display::screen, 11, 5), {35, 17, 17}));
    EXPECT_TRUE(near(PixelAt(display::screen, 14, 5), {35, 17, 17}));
    w.onion.mode = OnionSkin::Off;
    w.Render();
    EXPECT_EQ(PixelAt(display::screen, 11, 5), kBlack);
}
