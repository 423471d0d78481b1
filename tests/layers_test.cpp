// Layers: the layer command mode (add, delete, select), selection clamping,
// composition through the mask colour and canvas resizing.
#include "learn/compose.h"
#include "learn/layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "all/display.h"
#include "bmp/bmp.h"
#include "learn/history.h"
#include "learn/key_recorder.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::string>;

const Lines kHeader = {"- Layer Stuff -", " ", "A - Add new layer", "D - Delete current layer",
                       "0, 1-9 - Select layer", " "};

const Rgb kBlack{0, 0, 0};

class Layers : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }

    // Adds transparent layers until there are n, as a loaded document would
    // have them.
    void GrowTo(World& w, size_t n) {
        while (w.layers.size() < n) w.layers.push_back(new Layer(&w, w.layer->width, w.layer->height, 1));
    }

    // Runs the layer mode with `key` pressed in its first pass and released
    // in the next frame, then L released: one command.
    void PressInLayerMode(ScriptedWorld& w, int key) {
        HoldKey(KEY_L);
        HoldKey(key);
        w.steps = {[key] { HoldKey(key, false); }, [] { ReleaseAllKeys(); },
                   [] { ReleaseAllKeys(); }};
        w.frames = 0;
        w.LayerCommands();
        EXPECT_FALSE(w.overran);
    }

    // The longest message list shown during the mode.
    Lines Shown(const ScriptedWorld& w) {
        Lines longest;
        for (const Lines& l : w.shownLines)
            if (l.size() > longest.size()) longest = l;
        return longest;
    }

    // `current` is the state of the current layer as the mode starts.
    Lines With(const std::string& current, Lines added) {
        Lines l = kHeader;
        l.push_back("Current " + current);
        l.insert(l.end(), added.begin(), added.end());
        return l;
    }

    TempDir dir;
};

}  // namespace

TEST_F(Layers, AddingGivesATransparentLayerOnTopThatIsCurrent) {
    ScriptedWorld w;
    w.pointer->layer = 0;
    PressInLayerMode(w, KEY_A);
    ASSERT_EQ(w.layers.size(), 2u);
    EXPECT_EQ(w.slayer, 1);
    EXPECT_EQ(w.layer, w.layers[1]);
    EXPECT_EQ(w.layer->mode, 1);
    EXPECT_EQ(w.layer->width, w.layers[0]->width);
    EXPECT_EQ(w.layer->height, w.layers[0]->height);
    BITMAP* b = LayerBitmap(w.layer);
    for (int y = 0; y < b->h; y += 17)
        for (int x = 0; x < b->w; x += 13) ASSERT_EQ(getpixel(b, x, y), display::maskColour);
    EXPECT_EQ(Shown(w), With("layer 0 of 1, opaque", {"Layer 1 Added", "Layer 1 selected"}));
    // The pointer keeps its layer index; the lines go when the mode ends.
    EXPECT_EQ(w.pointer->layer, 0);
    EXPECT_TRUE(w.text->lines.empty());
}

TEST_F(Layers, DeletingAMiddleLayerMovesTheTopIntoItsPlace) {
    ScriptedWorld w;
    GrowTo(w, 4);
    std::vector<Layer*> before = w.layers;
    w.SelectLayer(1);
    testing::internal::CaptureStdout();
    PressInLayerMode(w, KEY_D);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[3], before[2]}));
    EXPECT_EQ(w.slayer, 1);
    EXPECT_EQ(w.layer, before[3]);
    EXPECT_EQ(Shown(w), With("layer 1 of 4, see-through", {"Deleted Layer 1", "Layer 1 selected"}));
}

// Up, Down, C and M as steps of the history: pointers and hidden flags go
// with their layers, both ways; layer 0 stays at the bottom.
TEST_F(Layers, PointersAndHiddenFlagsFollowTheirLayers) {
    ScriptedWorld w;
    GrowTo(w, 4);
    const std::vector<Layer*> before = w.layers;
    before[2]->hidden = true;
    w.pointers[1]->layer = 2;
    w.pointers[2]->layer = 1;
    w.pointers[3]->layer = 3;
    w.SelectLayer(2);
    testing::internal::CaptureStdout();
    PressInLayerMode(w, KEY_UP);
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[1], before[3], before[2]}));
    EXPECT_EQ(w.pointers[1]->layer, 3);
    EXPECT_EQ(w.pointers[3]->layer, 2);
    PressInLayerMode(w, KEY_UP);  // already the top layer
    PressInLayerMode(w, KEY_C);
    ASSERT_EQ(w.layers.size(), 5u);
    EXPECT_TRUE(w.layers[4]->hidden);
    EXPECT_EQ(w.slayer, 4);
    EXPECT_EQ(w.pointers[1]->layer, 3);
    PressInLayerMode(w, KEY_M);
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[1], before[3], before[2]}));
    EXPECT_EQ(w.slayer, 3);
    w.SelectLayer(2);  // before[3]
    PressInLayerMode(w, KEY_D);
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[1], before[2]}));
    EXPECT_EQ(w.pointers[1]->layer, 2);  // the top layer took the deleted one's place
    EXPECT_EQ(w.pointers[2]->layer, 1);
    EXPECT_EQ(w.pointers[3]->layer, 2);  // on the deleted layer: keeps its number
    w.SelectLayer(1);
    PressInLayerMode(w, KEY_DOWN);
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[1], before[2]}));
    for (int i = 0; i < 4; i++) w.Undo();
    std::fflush(stdout);
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(w.layers, before);
    EXPECT_EQ(w.pointers[1]->layer, 2);
    EXPECT_EQ(w.pointers[2]->layer, 1);
    for (const char* line : {"Layer 2 moved to 3\nlayer 3 of 4, see-through, hidden\n",
                             "Not moved: layer 3 is the top layer\n", "Layer 3 duplicated as 4\n",
                             "Layer 4 merged into 3\n", "Not moved: layer 0 stays at the bottom\n"})
        EXPECT_NE(said.find(line), std::string::npos) << line << " not in:\n" << said;
}

TEST_F(Layers, DeletingTheTopLayerSelectsTheOneBelow) {
    ScriptedWorld w;
    GrowTo(w, 4);
    std::vector<Layer*> before = w.layers;
    w.SelectLayer(3);
    PressInLayerMode(w, KEY_D);
    EXPECT_EQ(w.layers, (std::vector<Layer*>{before[0], before[1], before[2]}));
    EXPECT_EQ(w.slayer, 2);
    EXPECT_EQ(w.layer, before[2]);
    EXPECT_EQ(Shown(w), With("layer 3 of 4, see-through", {"Deleted Layer 3", "Layer 2 selected"}));
    // The pointer goes with the selection to the layer below.
    EXPECT_EQ(w.pointer->layer, 2);
}

TEST_F(Layers, LayerZeroIsNeverDeleted) {
    ScriptedWorld w;
    PressInLayerMode(w, KEY_D);
    EXPECT_EQ(w.layers.size(), 1u);
    EXPECT_EQ(Shown(w), With("layer 0 of 1, opaque", {}));

    ScriptedWorld two;
    GrowTo(two, 2);
    two.SelectLayer(0);
    PressInLayerMode(two, KEY_D);
    EXPECT_EQ(two.layers.size(), 2u);
    EXPECT_EQ(Shown(two), With("layer 0 of 2, opaque", {}));
}

TEST_F(Layers, KeypadSelectsExistingLayersOnly) {
    ScriptedWorld w;
    GrowTo(w, 3);
    w.SelectLayer(0);
    PressInLayerMode(w, KEY_5_PAD);
    EXPECT_EQ(w.slayer, 0);
    EXPECT_EQ(Shown(w), With("layer 0 of 3, opaque", {}));

    ScriptedWorld v;
    GrowTo(v, 3);
    v.SelectLayer(0);
    PressInLayerMode(v, KEY_2_PAD);
    EXPECT_EQ(v.slayer, 2);
    EXPECT_EQ(v.layer, v.layers[2]);
    EXPECT_EQ(v.pointer->layer, 2);
    EXPECT_EQ(Shown(v), With("layer 0 of 3, opaque", {"Layer 2 selected"}));
}

TEST_F(Layers, AddedLayersAreRecordedInTheModesGroup) {
    ScriptedWorld w;
    testing::internal::CaptureStdout();
    w.keyMan->StartRecording();
    PressInLayerMode(w, KEY_A);
    w.keyMan->StopRecording();
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(w.keyMan->events.empty());
    EXPECT_EQ(w.keyMan->events[0]->akey, KEY_L);
    EXPECT_EQ(w.keyMan->events[0]->nkey, KEY_A);
}

TEST_F(Layers, SelectLayerClampsToTheTopLayer) {
    ScriptedWorld w;
    GrowTo(w, 3);
    w.SelectLayer(1);
    EXPECT_EQ(w.slayer, 1);
    EXPECT_EQ(w.layer, w.layers[1]);
    EXPECT_EQ(w.pointer->layer, 1);
    w.SelectLayer(7);
    EXPECT_EQ(w.slayer, 2);
    EXPECT_EQ(w.layer, w.layers[2]);
    EXPECT_EQ(w.pointer->layer, 2);
    w.SelectLayer(0);
    w.SelectLayer(-1);
    EXPECT_EQ(w.slayer, 2);
    EXPECT_EQ(w.pointer->layer, 2);
    w.SelectLayer(0);
    w.SelectLayer(-2147483647 - 1);
    EXPECT_EQ(w.slayer, 2);
}

TEST_F(Layers, MaskColourLetsTheLayerBelowShowThrough) {
    int red = makecol(255, 0, 0), blue = makecol(0, 0, 255);
    Layer bottom(nullptr, 4, 1, 0);
    Layer top(nullptr, 4, 1, 1);
    clear_to_color(LayerBitmap(&bottom), red);
    putpixel(LayerBitmap(&top), 1, 0, blue);
    putpixel(LayerBitmap(&top), 2, 0, 0);  // black covers too

    std::vector<Layer*> both = {&bottom, &top};
    BITMAP* whole = create_bitmap(4, 1);
    ComposeLayers(both, {0, 0, 4, 1}, whole, 0, 0);
    EXPECT_EQ(PixelAt(whole, 0, 0), RgbOf(red));
    EXPECT_EQ(PixelAt(whole, 1, 0), RgbOf(blue));
    EXPECT_EQ(PixelAt(whole, 2, 0), kBlack);
    EXPECT_EQ(PixelAt(whole, 3, 0), RgbOf(red));

    // A part lands at the given place; beyond the picture it is black.
    BITMAP* region = create_bitmap(3, 1);
    ComposeLayers(both, {2, 0, 3, 1}, region, 0, 0);
    EXPECT_EQ(PixelAt(region, 0, 0), kBlack);
    EXPECT_EQ(PixelAt(region, 1, 0), RgbOf(red));
    EXPECT_EQ(PixelAt(region, 2, 0), kBlack);

    // An opaque layer on top hides everything below, black included.
    Layer opaqueTop(nullptr, 4, 1, 0);
    std::vector<Layer*> covered = {&bottom, &top, &opaqueTop};
    ComposeLayers(covered, {0, 0, 4, 1}, whole, 0, 0);
    EXPECT_EQ(PixelAt(whole, 0, 0), kBlack);

    // A hidden layer is left out.
    top.hidden = true;
    ComposeLayers(both, {0, 0, 4, 1}, whole, 0, 0);
    EXPECT_EQ(PixelAt(whole, 1, 0), RgbOf(red));
    EXPECT_EQ(RgbOf(ComposedColour(both, 1, 0)), RgbOf(red));
    destroy_bitmap(whole);
    destroy_bitmap(region);
}

TEST_F(Layers, ClearColourFollowsTheLayerMode) {
    Layer opaque(nullptr, 2, 2, 0);
    Layer transparent(nullptr, 2, 2, 1);
    EXPECT_EQ(opaque.ClearColour(), 0);
    EXPECT_EQ(transparent.ClearColour(), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(LayerBitmap(&opaque), 1, 1), 0);
    EXPECT_EQ(getpixel(LayerBitmap(&transparent), 1, 1), makecol(255, 0, 255));
}

TEST_F(Layers, ResizeCanvasKeepsPixelsAndFillsWithEachClearColour) {
    ScriptedWorld w;
    GrowTo(w, 2);
    int red = makecol(255, 0, 0), green = makecol(0, 255, 0);
    int oldW = w.layers[0]->width, oldH = w.layers[0]->height;
    putpixel(LayerBitmap(w.layers[0]), oldW - 1, oldH - 1, red);
    putpixel(LayerBitmap(w.layers[1]), 3, 4, green);
    w.layers[1]->hidden = true;
    ASSERT_TRUE(w.resizeCanvas(oldW + 10, oldH + 5));
    EXPECT_FALSE(w.layers[0]->hidden);
    EXPECT_TRUE(w.layers[1]->hidden);
    for (Layer* l : w.layers) {
        EXPECT_EQ(l->width, oldW + 10);
        EXPECT_EQ(l->height, oldH + 5);
        EXPECT_EQ(l->width, oldW + 10);
        EXPECT_EQ(l->height, oldH + 5);
    }
    EXPECT_EQ(w.stm->Width(), oldW + 10);
    EXPECT_EQ(w.stm->Height(), oldH + 5);
    BITMAP* bottom = LayerBitmap(w.layers[0]);
    BITMAP* top = LayerBitmap(w.layers[1]);
    EXPECT_EQ(PixelAt(bottom, oldW - 1, oldH - 1), RgbOf(red));
    EXPECT_EQ(PixelAt(bottom, oldW + 9, 0), kBlack);
    EXPECT_EQ(PixelAt(bottom, 0, oldH + 4), kBlack);
    EXPECT_EQ(PixelAt(top, 3, 4), RgbOf(green));
    EXPECT_EQ(getpixel(top, oldW + 9, 0), makecol(255, 0, 255));
    EXPECT_EQ(getpixel(top, 0, oldH + 4), makecol(255, 0, 255));

    ASSERT_TRUE(w.resizeCanvas(5, 6));
    EXPECT_EQ(w.layers[1]->width, 5);
    EXPECT_EQ(PixelAt(LayerBitmap(w.layers[1]), 3, 4), RgbOf(green));
    EXPECT_EQ(w.stm->Height(), 6);
    w.Render();  // composing and showing a canvas smaller than the window
}

namespace {

// The canvas as it is now, to check that a refused resize left every layer's
// bitmap and size, and the screen bitmap, alone.
struct CanvasBefore {
    explicit CanvasBefore(const World& w) : stm(w.stm), width(w.layer->width), height(w.layer->height) {
        for (Layer* l : w.layers) bitmaps.push_back(LayerBitmap(l));
    }
    void ExpectUnchanged(const World& w) const {
        ASSERT_EQ(w.layers.size(), bitmaps.size());
        for (size_t i = 0; i < w.layers.size(); i++) {
            EXPECT_EQ(LayerBitmap(w.layers[i]), bitmaps[i]);
            EXPECT_EQ(w.layers[i]->width, width);
            EXPECT_EQ(w.layers[i]->height, height);
            EXPECT_EQ(w.layers[i]->width, width);
        }
        EXPECT_EQ(w.stm, stm);
    }

    std::vector<BITMAP*> bitmaps;
    Bmp* stm;
    int width, height;
};

}  // namespace

TEST_F(Layers, ImpossibleCanvasSizeChangesNothing) {
    ScriptedWorld w;
    GrowTo(w, 3);
    CanvasBefore before(w);
    const int sizes[][2] = {{0, 10}, {10, -5}, {100000, 100000}, {16384, 32768}};
    for (auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(w.resizeCanvas(s[0], s[1]));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        before.ExpectUnchanged(w);
    }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(Layers, CanvasResizeWithoutMemoryChangesNothing) {
    ScriptedWorld w;
    GrowTo(w, 3);
    CanvasBefore before(w);
    bool resized;
    std::string out;
    {
        // Room for one 36 MB layer, not for three.
        MemoryCap cap(60L << 20);
        testing::internal::CaptureStdout();
        resized = w.resizeCanvas(3000, 3000);
        out = testing::internal::GetCapturedStdout();
    }
    EXPECT_FALSE(resized);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    before.ExpectUnchanged(w);
    // With the memory back the same resize works.
    EXPECT_TRUE(w.resizeCanvas(3000, 3000));
    EXPECT_EQ(w.layers[2]->width, 3000);
}

// A key pass whose flood fill (F) worked and whose new layer (L with A) then
// finds no memory: no layer is added, the message line says so, the fill
// stays as the step it became when the layer list began to change, and the
// editor runs on: Ctrl+Z takes the fill back.
TEST_F(Layers, ALayerThatFindsNoMemoryIsNotAddedAndSaysSo) {
    ScriptedWorld w;
    ASSERT_TRUE(w.resizeCanvas(3000, 3000));
    w.pointer->colour = makecol(255, 0, 0);
    int undos = w.history->UndoCount();
    std::string out;
    {
        // Room for the fill's 36 MB of undo, not for a second layer too.
        MemoryCap cap(60L << 20);
        HoldKey(KEY_F);
        HoldKey(KEY_L);
        HoldKey(KEY_A);
        testing::internal::CaptureStdout();
        w.DoKeys();
        out = testing::internal::GetCapturedStdout();
        ReleaseAllKeys();
    }
    EXPECT_NE(out.find("Nothing done: out of memory"), std::string::npos) << out;
    EXPECT_EQ(1u, w.layers.size());
    EXPECT_EQ((Rgb{255, 0, 0}), PixelAt(w.layer->Source(), 5, 5));
    EXPECT_EQ(undos + 1, w.history->UndoCount());
    HoldKey(KEY_LCONTROL);
    HoldKey(KEY_Z);
    w.DoKeys();
    EXPECT_EQ(kBlack, PixelAt(w.layer->Source(), 5, 5));
}
#endif
