// The bitmap surface: blank surfaces, ids, the operations that replace the
// bitmap, and copying with and without the mask colour.
#include "bmp/bmp.h"

#include <gtest/gtest.h>


#include <memory>

#include "all/display.h"
#include "test_support.h"

namespace {

const Rgb kBlack{0, 0, 0};

// Fills a w x h Bmp with a pattern whose every pixel differs from its
// neighbours, so shifted or scaled copies are told apart.
int PatternColour(int x, int y) { return makecol(x * 7 % 256, y * 11 % 256, (x + y) % 256); }

std::unique_ptr<Bmp> Patterned(int w, int h) {
    std::unique_ptr<Bmp> b(new Bmp(w, h, "bmp"));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) putpixel(b->GetBitmap(), x, y, PatternColour(x, y));
    return b;
}

void ExpectAll(Bmp& b, int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) ASSERT_EQ(PixelAt(b.GetBitmap(), x, y), colour) << x << "," << y;
}

void ExpectPattern(Bmp& b, int w, int h) {
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            ASSERT_EQ(PixelAt(b.GetBitmap(), x, y), RgbOf(PatternColour(x, y))) << x << "," << y;
}

}  // namespace

TEST(Bmp, BlankSurfaceIsColourZeroOfItsSize) {
    Bmp b(13, 7, "blank");
    EXPECT_EQ(b.Width(), 13);
    EXPECT_EQ(b.Height(), 7);
    EXPECT_EQ(b.GetBitmap()->w, 13);
    EXPECT_EQ(b.GetBitmap()->h, 7);
    EXPECT_EQ(b.Get(), b.GetBitmap());
    EXPECT_EQ(b.Bitmap(), b.GetBitmap());
    ExpectAll(b, 0, 0, 13, 7, kBlack);
    EXPECT_EQ(getpixel(b.GetBitmap(), 12, 6), 0);
}

TEST(Bmp, IdsIncreaseByOneWhicheverConstructor) {
    TempDir dir;
    Bmp first(4, 4, "a");
    testing::internal::CaptureStdout();
    Bmp fromFile("missing.pcx");
    testing::internal::GetCapturedStdout();
    Bmp third(2, 2, "c");
    auto fourth = Bmp::TryCreate(3, 3, "d");
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(fromFile.Id(), first.Id() + 1);
    EXPECT_EQ(third.Id(), first.Id() + 2);
    EXPECT_EQ(fourth->Id(), first.Id() + 3);
    // The file constructor always leaves a bitmap, even without a picture.
    EXPECT_NE(fromFile.GetBitmap(), nullptr);
}

TEST(Bmp, ResizeSmallerKeepsTheTopLeft) {
    auto b = Patterned(20, 10);
    ASSERT_TRUE(b->Resize(8, 6, makecol(0, 0, 255)));
    EXPECT_EQ(b->Width(), 8);
    EXPECT_EQ(b->Height(), 6);
    EXPECT_EQ(b->GetBitmap()->w, 8);
    ExpectPattern(*b, 8, 6);
}

TEST(Bmp, ResizeLargerFillsTheNewAreaWithTheColour) {
    auto b = Patterned(6, 4);
    int fill = makecol(0, 0, 255);
    ASSERT_TRUE(b->Resize(10, 9, fill));
    EXPECT_EQ(b->Width(), 10);
    EXPECT_EQ(b->Height(), 9);
    ExpectPattern(*b, 6, 4);
    ExpectAll(*b, 6, 0, 10, 9, RgbOf(fill));
    ExpectAll(*b, 0, 4, 10, 9, RgbOf(fill));
}

TEST(Bmp, StretchToDoubleDoublesEveryPixel) {
    auto b = Patterned(5, 3);
    ASSERT_TRUE(b->StretchTo(10, 6));
    EXPECT_EQ(b->Width(), 10);
    EXPECT_EQ(b->Height(), 6);
    for (int y = 0; y < 6; y++)
        for (int x = 0; x < 10; x++)
            ASSERT_EQ(PixelAt(b->GetBitmap(), x, y), RgbOf(PatternColour(x / 2, y / 2))) << x << "," << y;
}

TEST(Bmp, StretchToTheSameSizeChangesNothing) {
    auto b = Patterned(9, 5);
    ASSERT_TRUE(b->StretchTo(9, 5));
    ExpectPattern(*b, 9, 5);
}

TEST(Bmp, DrawToMode0CopiesMode1SkipsTheMaskColour) {
    Bmp src(4, 1, "src");
    int red = makecol(255, 0, 0);
    putpixel(src.GetBitmap(), 0, 0, red);
    putpixel(src.GetBitmap(), 1, 0, display::maskColour);
    putpixel(src.GetBitmap(), 2, 0, red);
    putpixel(src.GetBitmap(), 3, 0, display::maskColour);
    int green = makecol(0, 255, 0);

    Bmp masked(8, 3, "dest");
    clear_to_color(masked.GetBitmap(), green);
    src.DrawTo(1, masked.GetBitmap(), 2, 1);
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 2, 1), RgbOf(red));
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 3, 1), RgbOf(green));
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 4, 1), RgbOf(red));
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 5, 1), RgbOf(green));
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 1, 1), RgbOf(green));
    EXPECT_EQ(PixelAt(masked.GetBitmap(), 2, 0), RgbOf(green));

    Bmp opaque(8, 3, "dest");
    clear_to_color(opaque.GetBitmap(), green);
    src.DrawOn(0, &opaque, 2, 1);
    EXPECT_EQ(PixelAt(opaque.GetBitmap(), 2, 1), RgbOf(red));
    EXPECT_EQ(PixelAt(opaque.GetBitmap(), 3, 1), RgbOf(display::maskColour));
    EXPECT_EQ(PixelAt(opaque.GetBitmap(), 5, 1), RgbOf(display::maskColour));
    EXPECT_EQ(PixelAt(opaque.GetBitmap(), 6, 1), RgbOf(green));
}

TEST(Bmp, SpritesDrawAtTheGivenOrOwnPosition) {
    Bmp src(2, 1, "src");
    int red = makecol(255, 0, 0);
    putpixel(src.GetBitmap(), 0, 0, red);
    putpixel(src.GetBitmap(), 1, 0, display::maskColour);
    Bmp dest(10, 10, "dest");
    src.SpriteOn(&dest, 1, 2);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 1, 2), RgbOf(red));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 2, 2), kBlack);
    src.SetX(6);
    src.SetY(7);
    src.SpriteAtOn(&dest);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 6, 7), RgbOf(red));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 7, 7), kBlack);
}

TEST(Bmp, AppendPutsTheOtherPictureToTheRight) {
    auto b = Patterned(4, 3);
    BITMAP* other = create_bitmap(5, 3);
    int blue = makecol(0, 0, 255);
    clear_to_color(other, blue);
    ASSERT_TRUE(b->Append(other));
    EXPECT_EQ(b->Width(), 9);
    EXPECT_EQ(b->Height(), 3);
    EXPECT_EQ(b->GetBitmap()->w, 9);
    ExpectPattern(*b, 4, 3);
    ExpectAll(*b, 4, 0, 9, 3, RgbOf(blue));

    // A lower picture fills only its own rows; a higher one is cut at h.
    BITMAP* low = create_bitmap(2, 1);
    clear_to_color(low, blue);
    ASSERT_TRUE(b->Append(low));
    EXPECT_EQ(b->Width(), 11);
    EXPECT_EQ(b->Height(), 3);
    ExpectAll(*b, 9, 0, 11, 1, RgbOf(blue));
    BITMAP* high = create_bitmap(1, 10);
    clear_to_color(high, blue);
    ASSERT_TRUE(b->Append(high));
    EXPECT_EQ(b->Width(), 12);
    EXPECT_EQ(b->Height(), 3);
    ExpectAll(*b, 11, 0, 12, 3, RgbOf(blue));
    destroy_bitmap(other);
    destroy_bitmap(low);
    destroy_bitmap(high);
}

TEST(Bmp, RefusedSizesChangeNothing) {
    auto b = Patterned(6, 5);
    BITMAP* before = b->GetBitmap();
    const int sizes[][2] = {{0, 5}, {6, 0}, {-3, 5}, {6, -1}, {100000, 100000}, {1 << 30, 1 << 30}};
    for (auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        EXPECT_FALSE(b->Resize(s[0], s[1], 0));
        EXPECT_FALSE(b->StretchTo(s[0], s[1]));
        EXPECT_EQ(b->GetBitmap(), before);
        EXPECT_EQ(b->Width(), 6);
        EXPECT_EQ(b->Height(), 5);
        EXPECT_EQ(Bmp::TryCreate(s[0], s[1], "refused"), nullptr);
    }
    ExpectPattern(*b, 6, 5);
}

TEST(Bmp, AppendBeyondTheSizeLimitChangesNothing) {
    // 1 x 32767 plus 16384 columns is just over 2^31 bytes at 4 bytes a
    // pixel, though both pictures are small.
    auto b = Bmp::TryCreate(1, 32767, "tall");
    ASSERT_NE(b, nullptr);
    BITMAP* wide = create_bitmap(16384, 1);
    BITMAP* before = b->GetBitmap();
    EXPECT_FALSE(b->Append(wide));
    EXPECT_EQ(b->GetBitmap(), before);
    EXPECT_EQ(b->Width(), 1);
    EXPECT_EQ(b->Height(), 32767);
    destroy_bitmap(wide);
}

TEST(Bmp, BlankConstructorWithARefusedSizeStillHasABitmap) {
    testing::internal::CaptureStdout();
    Bmp b(-4, 10, "refused");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(b.GetBitmap(), nullptr);
    EXPECT_EQ(b.Width(), b.GetBitmap()->w);
    EXPECT_EQ(b.Height(), b.GetBitmap()->h);
    EXPECT_FALSE(out.empty());
}

TEST(Bmp, APictureFromAFileSitsAtTheScreenCentre) {
    TempDir dir;
    auto saved = Patterned(6, 4);
    ASSERT_EQ(saved->Save("pic.bmp"), 0);
    Bmp loaded("pic.bmp");
    ASSERT_EQ(loaded.Width(), 6);
    ASSERT_EQ(loaded.Height(), 4);
    ExpectPattern(loaded, 6, 4);

    Bmp dest(1024, 768, "dest");
    loaded.SpriteAtOn(&dest);
    int cx = display::screen->w / 2, cy = display::screen->h / 2;
    EXPECT_EQ(PixelAt(dest.GetBitmap(), cx + 1, cy), RgbOf(PatternColour(1, 0)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), cx + 5, cy + 3), RgbOf(PatternColour(5, 3)));
    EXPECT_EQ(PixelAt(dest.GetBitmap(), cx + 6, cy + 3), kBlack);
    EXPECT_EQ(PixelAt(dest.GetBitmap(), cx - 1 + 5, cy - 1 + 3), RgbOf(PatternColour(4, 2)));
    loaded.SetX(0);
    loaded.SetY(0);
    loaded.SpriteAtTo(dest.GetBitmap());
    EXPECT_EQ(PixelAt(dest.GetBitmap(), 5, 3), RgbOf(PatternColour(5, 3)));
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(Bmp, WithoutMemoryTheReplacingOperationsChangeNothing) {
    auto b = Patterned(6, 5);
    BITMAP* before = b->GetBitmap();
    testing::internal::CaptureStdout();
    {
        // 3000 x 3000 at 4 bytes is 36 MB: more than the cap leaves.
        MemoryCap cap(16L << 20);
        EXPECT_FALSE(b->Resize(3000, 3000, 0));
        EXPECT_FALSE(b->StretchTo(3000, 3000));
        EXPECT_EQ(Bmp::TryCreate(3000, 3000, "short"), nullptr);
    }
    // Nothing is said: the callers report failures their own way.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(b->GetBitmap(), before);
    EXPECT_EQ(b->Width(), 6);
    EXPECT_EQ(b->Height(), 5);
    ExpectPattern(*b, 6, 5);
}
#endif

TEST(Bmp, SavingToAnUnknownFormatOrPlaceFails) {
    TempDir dir;
    Bmp b(4, 4, "bmp");
    EXPECT_NE(b.Save("pic.xyz"), 0);
    EXPECT_FALSE(FileExists("pic.xyz"));
    EXPECT_NE(b.Save("no/such/dir/pic.bmp"), 0);
    EXPECT_EQ(b.Save("pic.tga"), 0);
    EXPECT_TRUE(FileExists("pic.tga"));
}
