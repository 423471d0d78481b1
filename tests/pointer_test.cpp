// The pointer's drawing: movement, grab and stamp, clearing, lines, the
// enlarged stamp and choosing a pointer, on a real editor without a display.
#include "learn/pointer.h"

#include <gtest/gtest.h>

#include <memory>

#include "all/display.h"
#include "bmp/bmp.h"
#include "learn/history.h"
#include "learn/key_recorder.h"
#include "learn/layer.h"
#include "learn/overlay.h"
#include "learn/paint_gate.h"
#include "test_support.h"

namespace {

class PointerTest : public testing::Test {
protected:
    void SetUp() override {
        ReleaseAllKeys();
        world = std::make_unique<TestWorld>();
        p = world->pointer;
        pic = LayerBitmap(world->layer);
    }
    void TearDown() override { ReleaseAllKeys(); }

    // A recognisable picture: every pixel a different colour.
    void PaintPattern() {
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 40; x++) putpixel(pic, x, y, makecol(x * 6, y * 6, (x + y) * 3));
    }

    TempDir dir;
    std::unique_ptr<TestWorld> world;
    Pointer* p = nullptr;
    BITMAP* pic = nullptr;
};

// A copy of a bitmap, to compare a picture with itself later.
std::unique_ptr<Bmp> Copy(BITMAP* b) {
    auto c = std::make_unique<Bmp>(b->w, b->h, "copy");
    blit(b, c->GetBitmap(), 0, 0, 0, 0, b->w, b->h);
    return c;
}

bool SamePixels(BITMAP* a, BITMAP* b) {
    if (a->w != b->w || a->h != b->h) return false;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            if (getpixel(a, x, y) != getpixel(b, x, y)) return false;
    return true;
}

TEST_F(PointerTest, MovesThePointerTheBoxOrTheBoxSizeByMode) {
    p->x = 10, p->y = 10;
    p->Move(3, -2);
    EXPECT_EQ(13, p->x);
    EXPECT_EQ(8, p->y);
    p->mode = 2;
    p->Move(-1, 4);
    EXPECT_EQ(12, p->x);
    EXPECT_EQ(12, p->y);

    p->StartBox();
    EXPECT_EQ(12, p->bx);
    p->w = 2, p->h = 2;
    p->Move(-5, -1);  // shrinking below 1x1 stops at 1x1
    EXPECT_EQ(1, p->w);
    EXPECT_EQ(1, p->h);
    p->moveBox = true;
    p->Move(4, 5);
    EXPECT_EQ(16, p->bx);
    EXPECT_EQ(17, p->by);
    EXPECT_EQ(12, p->x);  // the pointer stays
}

TEST_F(PointerTest, TheKeyPassKeepsThePointerOnTheLayer) {
    p->x = 0, p->y = world->layer->height - 1;
    HoldKey(KEY_LEFT);
    HoldKey(KEY_DOWN);
    world->DoKeys();
    EXPECT_EQ(0, p->x);
    EXPECT_EQ(world->layer->height - 1, p->y);

    ReleaseAllKeys();
    p->x = world->layer->width - 1;
    HoldKey(KEY_RIGHT);
    world->DoKeys();
    EXPECT_EQ(world->layer->width - 1, p->x);
}

TEST_F(PointerTest, GrabCopiesTheBoxAndRecordsIt) {
    PaintPattern();
    p->x = 5, p->y = 7;
    p->StartBox();
    p->w = 1, p->h = 1;
    for (int i = 0; i < 3; i++) p->Move(1, 0);
    p->Move(0, 1);
    p->Grab(*world->layer);
    ASSERT_NE(nullptr, p->brush);
    EXPECT_EQ(4, p->brush->Width());
    EXPECT_EQ(2, p->brush->Height());
    EXPECT_EQ(p->w, p->grabW);
    EXPECT_EQ(p->h, p->grabH);
    EXPECT_EQ(5, p->grabX);
    EXPECT_EQ(7, p->grabY);
    for (int j = 0; j < 2; j++)
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(PixelAt(pic, 5 + i, 7 + j), PixelAt(p->brush->GetBitmap(), i, j));
}

TEST_F(PointerTest, GrabOfAnEmptyBoxKeepsTheOldBrush) {
    p->w = 3, p->h = 3;
    p->Grab(*world->layer);
    Bmp* old = p->brush;
    ASSERT_NE(nullptr, old);
    p->w = 0, p->h = 0;
    p->Grab(*world->layer);
    EXPECT_EQ(old, p->brush);
    p->w = 4, p->h = -1;
    p->Grab(*world->layer);
    EXPECT_EQ(old, p->brush);
}

TEST_F(PointerTest, GrabOutsideTheLayerLeavesBlack) {
    clear_to_color(pic, makecol(0, 200, 0));
    p->bx = -2, p->by = 0, p->w = 4, p->h = 1;
    p->Grab(*world->layer);
    EXPECT_EQ(RgbOf(0), PixelAt(p->brush->GetBitmap(), 0, 0));
    EXPECT_EQ(RgbOf(0), PixelAt(p->brush->GetBitmap(), 1, 0));
    EXPECT_EQ((Rgb{0, 200, 0}), PixelAt(p->brush->GetBitmap(), 2, 0));
}

TEST_F(PointerTest, GrabWholeTakesTheSurfaceAndItsSize) {
    Bmp src(6, 3, "src");
    putpixel(src.GetBitmap(), 5, 2, makecol(9, 8, 7));
    p->GrabWhole(&src);
    EXPECT_EQ(6, p->w);
    EXPECT_EQ(3, p->h);
    EXPECT_EQ((Rgb{9, 8, 7}), PixelAt(p->brush->GetBitmap(), 5, 2));
}

// A 3x2 brush with one mask-colour pixel at (1, 0).
void GiveBrush(Pointer* p) {
    auto b = new Bmp(3, 2, "_bmp");
    for (int j = 0; j < 2; j++)
        for (int i = 0; i < 3; i++)
            putpixel(b->GetBitmap(), i, j, makecol(40 * i + 10, 90 * j + 5, 77));
    putpixel(b->GetBitmap(), 1, 0, makecol(255, 0, 255));
    p->SetBrush(b);
    p->w = 3, p->h = 2;
}

TEST_F(PointerTest, OpaqueAndMaskedStampsDifferOnlyAtTheMaskColour) {
    clear_to_color(pic, makecol(1, 2, 3));
    GiveBrush(p);
    p->x = 10, p->y = 10;
    world->StampBrush(Stamping::Opaque);
    EXPECT_EQ((Rgb{255, 0, 255}), PixelAt(pic, 11, 10));
    EXPECT_EQ(PixelAt(p->brush->GetBitmap(), 2, 1), PixelAt(pic, 12, 11));

    p->x = 20;
    world->StampBrush(Stamping::Masked);
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 21, 10));
    EXPECT_EQ(PixelAt(p->brush->GetBitmap(), 0, 0), PixelAt(pic, 20, 10));
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 23, 10));  // beyond the brush
}

TEST_F(PointerTest, OpaqueStampWithABoxLargerThanTheBrushDrawsOnlyTheBrush) {
    clear_to_color(pic, makecol(1, 2, 3));
    GiveBrush(p);
    p->w = 6, p->h = 5;
    p->x = 10, p->y = 10;
    world->StampBrush(Stamping::Opaque);
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 13, 10));
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 10, 12));
}

TEST_F(PointerTest, XorStampTwiceRestoresThePicture) {
    PaintPattern();
    GiveBrush(p);
    auto before = Copy(pic);
    p->x = 4, p->y = 6;
    world->StampBrush(Stamping::Xor);
    EXPECT_FALSE(SamePixels(before->GetBitmap(), pic));
    // The mask-colour brush pixel leaves the picture alone.
    EXPECT_EQ(PixelAt(before->GetBitmap(), 5, 6), PixelAt(pic, 5, 6));
    world->StampBrush(Stamping::Xor);
    EXPECT_TRUE(SamePixels(before->GetBitmap(), pic));
}

TEST_F(PointerTest, XorStampWithABoxLargerThanTheBrushTouchesOnlyTheBrushPart) {
    PaintPattern();
    GiveBrush(p);
    p->w = 8, p->h = 7;
    auto before = Copy(pic);
    p->x = 4, p->y = 6;
    world->StampBrush(Stamping::Xor);
    for (int j = 0; j < 7; j++) {
        for (int i = 0; i < 8; i++) {
            if (i < 3 && j < 2) continue;  // inside the brush
            EXPECT_EQ(PixelAt(before->GetBitmap(), 4 + i, 6 + j), PixelAt(pic, 4 + i, 6 + j))
                << i << "," << j;
        }
    }
    world->StampBrush(Stamping::Xor);
    EXPECT_TRUE(SamePixels(before->GetBitmap(), pic));
}

TEST_F(PointerTest, StampTakesAnUndoSnapshotFirst) {
    clear_to_color(pic, makecol(1, 2, 3));
    GiveBrush(p);
    world->StampBrush(Stamping::Opaque);
    world->Undo();
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 0, 0));
    EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 2, 1));
}

TEST_F(PointerTest, ClearBoxUsesTheLayersClearColour) {
    clear_to_color(pic, makecol(50, 60, 70));
    p->x = 3, p->y = 4, p->w = 2, p->h = 3;
    world->ClearBrushArea();
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 3, 4));
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 4, 6));
    EXPECT_EQ((Rgb{50, 60, 70}), PixelAt(pic, 5, 4));
    EXPECT_EQ((Rgb{50, 60, 70}), PixelAt(pic, 3, 7));

    world->layers.push_back(new Layer(world.get(), 30, 30, 1));
    world->SelectLayer(1);
    BITMAP* top = LayerBitmap(world->layer);
    clear_to_color(top, makecol(50, 60, 70));
    world->ClearBrushArea();
    EXPECT_EQ((Rgb{255, 0, 255}), PixelAt(top, 4, 5));
}

TEST_F(PointerTest, ClearBoxWithAnEmptyBoxClearsNothing) {
    clear_to_color(pic, makecol(50, 60, 70));
    p->x = 3, p->y = 4, p->w = 0, p->h = 0;
    world->ClearBrushArea();
    for (int y = 2; y < 6; y++)
        for (int x = 1; x < 5; x++) EXPECT_EQ((Rgb{50, 60, 70}), PixelAt(pic, x, y));
}

TEST_F(PointerTest, EnlargedStampDrawsOneBlockPerBrushPixel) {
    clear_to_color(pic, makecol(1, 2, 3));
    GiveBrush(p);
    p->w = 5, p->h = 4;  // larger than the brush: only the brush part is drawn
    p->jx = 3, p->jy = 2;
    p->x = 10, p->y = 20;
    world->EnlargeStamp();
    BITMAP* b = p->brush->GetBitmap();
    for (int j = 0; j < 4; j++)
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(PixelAt(b, i / 3, j / 2), PixelAt(pic, 10 + i, 20 + j)) << i << "," << j;
    // The mask colour is drawn too.
    EXPECT_EQ((Rgb{255, 0, 255}), PixelAt(pic, 13, 20));
    for (int i = 9; i < 26; i++) {
        EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, i, 24));  // below the brush's two rows
        EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, i, 19));
    }
    for (int j = 20; j < 24; j++) EXPECT_EQ((Rgb{1, 2, 3}), PixelAt(pic, 19, j));
}

TEST_F(PointerTest, CommitInPointModeSetsOnePixelThatUndoTakesBackAlone) {
    clear_to_color(pic, 0);
    putpixel(pic, 0, 0, makecol(7, 7, 7));  // a change the history was not told of
    p->x = 5, p->y = 6;
    world->Commit();
    EXPECT_EQ(RgbOf(p->colour), PixelAt(pic, 5, 6));
    world->Undo();
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 5, 6));
    EXPECT_EQ((Rgb{7, 7, 7}), PixelAt(pic, 0, 0));
}

TEST_F(PointerTest, LineChainDrawsConnectedSegmentsAndEndsInPointMode) {
    clear_to_color(pic, 0);
    Rgb pen = RgbOf(p->colour);
    p->x = 2, p->y = 2;
    world->LineTo();
    p->Move(5, 0);
    world->LineTo();  // draws (2,2)-(7,2)
    EXPECT_EQ(2, p->mode);
    p->Move(0, 4);
    world->Commit();  // draws (7,2)-(7,6)
    EXPECT_EQ(0, p->mode);
    for (int x = 2; x <= 7; x++) EXPECT_EQ(pen, PixelAt(pic, x, 2));
    for (int y = 2; y <= 6; y++) EXPECT_EQ(pen, PixelAt(pic, 7, y));
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 8, 2));
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 7, 7));
    // A long shallow and a long steep line, both taken back by one undo.
    auto before = Copy(pic);
    world->history->Close();
    p->Move(-7, 60), world->LineTo(), p->Move(90, -37), world->LineTo(), p->Move(-5, 100), world->Commit();
    world->Undo();
    EXPECT_TRUE(SamePixels(before->GetBitmap(), pic));
}

TEST_F(PointerTest, CancelDropsTheLineAndRestoresTheBox) {
    clear_to_color(pic, 0);
    auto before = Copy(pic);
    p->x = 2, p->y = 2;
    world->LineTo();
    p->Move(5, 3);
    world->Cancel();
    EXPECT_EQ(0, p->mode);
    EXPECT_TRUE(SamePixels(before->GetBitmap(), pic));

    p->grabX = 1, p->grabY = 2, p->grabW = 3, p->grabH = 4;
    p->StartBox();
    p->Move(10, 10);
    world->Cancel();
    EXPECT_EQ(0, p->mode);
    EXPECT_EQ(1, p->bx);
    EXPECT_EQ(2, p->by);
    EXPECT_EQ(3, p->w);
    EXPECT_EQ(4, p->h);
}

TEST_F(PointerTest, CommitInBoxModeDrawsTheOutlineJustOutsideTheBox) {
    clear_to_color(pic, 0);
    Rgb pen = RgbOf(p->colour);
    p->x = 5, p->y = 5;
    p->StartBox();
    p->w = 3, p->h = 2;
    world->Commit();
    EXPECT_EQ(0, p->mode);
    EXPECT_EQ(pen, PixelAt(pic, 4, 4));
    EXPECT_EQ(pen, PixelAt(pic, 8, 7));
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 5, 5));
    EXPECT_EQ(RgbOf(0), PixelAt(pic, 7, 6));
}

// Keys of the pick-pointer mode: keypad digits are released as soon as the
// mode waits for them, P when the first frame is drawn.
class PickWorld : public TestWorld {
public:
    void Render() override {
        if (picking) {
            shown.push_back(text->lines);
            HoldKey(KEY_P, false);
        }
        World::Render();
    }
    void WaitKeyRelease(int k) override {
        HoldKey(k, false);
        World::WaitKeyRelease(k);
    }
    bool picking = false;
    std::vector<std::vector<std::string>> shown;
};

TEST(PickPointer, SelectsThePointerAndItsClampedLayer) {
    TempDir dir;
    ReleaseAllKeys();
    PickWorld world;
    for (int i = 0; i < 2; i++) world.layers.push_back(new Layer(&world, 20, 20, 1));
    world.pointers[3]->layer = 5;
    world.picking = true;
    HoldKey(KEY_P);
    HoldKey(KEY_3_PAD);
    world.PickPointer();
    ReleaseAllKeys();
    EXPECT_EQ(3, world.spointer);
    EXPECT_EQ(world.pointers[3], world.pointer);
    EXPECT_EQ(2, world.slayer);
    EXPECT_EQ(world.layers[2], world.layer);
    EXPECT_EQ(2, world.pointers[3]->layer);
    ASSERT_FALSE(world.shown.empty());
    std::vector<std::string> expected = {"- Pick Pointer -",  " ",
                                         "Key pad keys 0-9",  " ",
                                         "Current Pointer 0", "Pointer 3 Selected on Layer 2"};
    EXPECT_EQ(expected, world.shown.front());
    EXPECT_TRUE(world.text->lines.empty());
}

}  // namespace
