// Picture loading: extension routing, colours from SDL_image pictures of
// every pixel format, hostile headers, and a failed load changing nothing.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bmp/bmp.h"
#include "bmp/load_pic.h"
#include "bmp/sdl_picture.h"
#include "test_support.h"

namespace {

// Pictures are made with ImageMagick; the PNG flavour is named explicitly,
// since a small flat picture is otherwise written as an indexed PNG.
void Make(const std::string& args) {
    std::string cmd = "convert " + args;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

// Writes the bytes followed by zeros up to padTo bytes in all.
void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes, size_t padTo) {
    std::string s(bytes.begin(), bytes.end());
    if (s.size() < padTo) s.resize(padTo, '\0');
    ASSERT_TRUE(WriteFile(name, s)) << name;
}

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

}  // namespace

TEST(PictureExtension, LastDotDecidesAndCaseIsIgnored) {
    EXPECT_TRUE(LoadsThroughSdl("photo.JPG"));
    EXPECT_TRUE(LoadsThroughSdl("photo.jpg"));
    EXPECT_TRUE(LoadsThroughSdl("a.b.png"));
    EXPECT_TRUE(LoadsThroughSdl("dir.x/pic.PnG"));
    EXPECT_FALSE(LoadsThroughSdl("photo.jpeg"));
    EXPECT_FALSE(LoadsThroughSdl("a.png.bmp"));
    EXPECT_FALSE(LoadsThroughSdl("README"));
    EXPECT_EQ(PictureExtension("a.b.TGA"), ".tga");
    EXPECT_EQ(PictureExtension("README"), "");
}

TEST(LoadPic, RoutesByExtensionWhateverTheCase) {
    TempDir dir;
    Make("-size 3x2 xc:red PNG24:up.PNG");
    Make("-size 3x2 xc:red -quality 100 JPG:photo.JPG");
    Make("-size 3x2 xc:red -quality 100 JPG:photo.jpeg");
    Bmp png("up.PNG"), jpg("photo.JPG"), jpeg("photo.jpeg"), none("README");
    EXPECT_TRUE(png.Loaded());
    EXPECT_EQ(png.Width(), 3);
    EXPECT_TRUE(jpg.Loaded());
    EXPECT_EQ(jpg.Height(), 2);
    // Allegro has no reader for ".jpeg": the placeholder stands in.
    EXPECT_FALSE(jpeg.Loaded());
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_FALSE(none.Loaded());
    EXPECT_EQ(none.Width(), 8);
    EXPECT_EQ(none.Height(), 8);
}

TEST(LoadPic, TrueColourPngKeepsExactColours) {
    TempDir dir;
    Make("-size 1x1 xc:red xc:lime xc:blue xc:'rgb(10,20,30)' +append PNG24:rgb.png");
    Bmp b("rgb.png");
    ASSERT_EQ(b.Width(), 4);
    EXPECT_EQ(getpixel(b.GetBitmap(), 0, 0), makecol(255, 0, 0));
    EXPECT_EQ(PixelAt(b.GetBitmap(), 1, 0), kGreen);
    EXPECT_EQ(PixelAt(b.GetBitmap(), 2, 0), kBlue);
    EXPECT_EQ(PixelAt(b.GetBitmap(), 3, 0), (Rgb{10, 20, 30}));
}

TEST(LoadPic, RedJpegWithinTwoPerPart) {
    TempDir dir;
    Make("-size 16x16 xc:red -quality 100 JPG:red.jpg");
    Bmp b("red.jpg");
    Rgb c = PixelAt(b.GetBitmap(), 5, 5);
    EXPECT_NEAR(c.r, 255, 2);
    EXPECT_NEAR(c.g, 0, 2);
    EXPECT_NEAR(c.b, 0, 2);
}

TEST(LoadPic, IndexedAndGreyscalePngsKeepExactColours) {
    TempDir dir;
    Make("-size 1x1 xc:red xc:lime xc:blue xc:'rgb(200,100,50)' +append PNG8:indexed.png");
    Make("-size 1x1 xc:'gray(40)' xc:'gray(200)' +append -type Grayscale -depth 8 PNG:grey.png");
    Bmp indexed("indexed.png"), grey("grey.png");
    ASSERT_TRUE(indexed.Loaded());
    EXPECT_EQ(PixelAt(indexed.GetBitmap(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(indexed.GetBitmap(), 1, 0), kGreen);
    EXPECT_EQ(PixelAt(indexed.GetBitmap(), 2, 0), kBlue);
    EXPECT_EQ(PixelAt(indexed.GetBitmap(), 3, 0), (Rgb{200, 100, 50}));
    ASSERT_TRUE(grey.Loaded());
    EXPECT_EQ(PixelAt(grey.GetBitmap(), 0, 0), (Rgb{40, 40, 40}));
    EXPECT_EQ(PixelAt(grey.GetBitmap(), 1, 0), (Rgb{200, 200, 200}));
}

// Alpha from 128 up keeps the colour; below it the pixel is the mask colour.
TEST(LoadPic, PngAlphaBelowHalfLoadsAsTheMaskColour) {
    TempDir dir;
    Make("-size 1x1 xc:'rgba(255,0,0,0.51)' xc:'rgba(0,0,255,0.49)' +append PNG32:alpha.png");
    Bmp b("alpha.png");
    ASSERT_TRUE(b.Loaded());
    EXPECT_EQ(PixelAt(b.GetBitmap(), 0, 0), kRed);
    EXPECT_EQ(getpixel(b.GetBitmap(), 1, 0), bitmap_mask_color(b.GetBitmap()));
    EXPECT_EQ(b.Transparent(), 1);
}

// A picture whose top byte is its alpha, saved as PNG and as TGA: the
// transparent pixel comes back as the mask colour, the others exactly and as
// plain colour values. A 32-bit TGA of Allegro's (an older frame file, alpha
// 0 everywhere, or another program's) still loads as its colours.
TEST(LoadPic, TransparencyRoundTripsAndOldFrameFilesLoadAsBefore) {
    TempDir dir;
    Bmp sprite(3, 1, "sprite");
    BITMAP* s = sprite.GetBitmap();
    putpixel(s, 0, 0, makecol(255, 0, 0) | 0xff << 24);
    putpixel(s, 1, 0, 0);
    putpixel(s, 2, 0, makecol(0, 0, 0) | 0xff << 24);
    sprite.CarryAlpha();
    for (const char* name : {"sprite.png", "sprite.tga"}) {
        ASSERT_EQ(sprite.Save(name), 0) << name;
        Bmp back(name);
        ASSERT_TRUE(back.Loaded()) << name;
        EXPECT_EQ(back.Transparent(), 1) << name;
        EXPECT_EQ(getpixel(back.GetBitmap(), 0, 0), makecol(255, 0, 0)) << name;
        EXPECT_EQ(getpixel(back.GetBitmap(), 1, 0), bitmap_mask_color(back.GetBitmap())) << name;
        EXPECT_EQ(getpixel(back.GetBitmap(), 2, 0), makecol(0, 0, 0)) << name;
    }
    // Other programs read the TGA's alpha: 255 for the opaque pixels.
    std::string tga = ReadFile("sprite.tga");
    ASSERT_EQ(tga.size(), 18u + 4 + 3 * 4);
    EXPECT_EQ(tga.substr(18, 4), "Vell");
    EXPECT_EQ(static_cast<unsigned char>(tga[22 + 3]), 255);
    EXPECT_EQ(static_cast<unsigned char>(tga[22 + 7]), 0);
    EXPECT_EQ(static_cast<unsigned char>(tga[22 + 11]), 255);

    // More than 256 colours: an RGBA PNG.
    Bmp wide(300, 1, "wide");
    for (int x = 0; x < 300; x++) putpixel(wide.GetBitmap(), x, 0, x == 5 ? 0 : makecol(x % 256, x / 256, 7) | 0xff << 24);
    wide.CarryAlpha();
    ASSERT_EQ(wide.Save("wide.png"), 0);
    Bmp wideBack("wide.png");
    EXPECT_EQ(wideBack.Transparent(), 1);
    EXPECT_EQ(getpixel(wideBack.GetBitmap(), 5, 0), bitmap_mask_color(wideBack.GetBitmap()));
    EXPECT_EQ(getpixel(wideBack.GetBitmap(), 299, 0), makecol(43, 1, 7));

    BITMAP* old = create_bitmap(2, 1);
    putpixel(old, 0, 0, makecol(10, 20, 30));
    // Another program's alpha is dropped from the pixel value alike.
    putpixel(old, 1, 0, makecol(255, 0, 255) | 0x80 << 24);
    ASSERT_EQ(save_tga("old.tga", old, nullptr), 0);
    destroy_bitmap(old);
    Bmp loaded("old.tga");
    ASSERT_TRUE(loaded.Loaded());
    EXPECT_EQ(loaded.Transparent(), 0);
    EXPECT_EQ(getpixel(loaded.GetBitmap(), 0, 0), makecol(10, 20, 30));
    EXPECT_EQ(getpixel(loaded.GetBitmap(), 1, 0), makecol(255, 0, 255));
}

TEST(LoadPic, AllegroFormatsStillLoad) {
    TempDir dir;
    Make("-size 1x1 xc:red xc:blue +append BMP3:pic.bmp");
    Make("-size 1x1 xc:red xc:blue +append pic.tga");
    Make("-size 1x1 xc:red xc:blue +append pic.pcx");
    for (const char* name : {"pic.bmp", "pic.tga", "pic.pcx"}) {
        Bmp b(name);
        ASSERT_TRUE(b.Loaded()) << name;
        EXPECT_EQ(b.Width(), 2) << name;
        EXPECT_EQ(PixelAt(b.GetBitmap(), 0, 0), kRed) << name;
        EXPECT_EQ(PixelAt(b.GetBitmap(), 1, 0), kBlue) << name;
    }
}

// Small files whose headers promise pictures far beyond what may be
// allocated: refused before any decoder sees them.
TEST(LoadPic, HostileHeadersAreRefusedWithoutACrash) {
    TempDir dir;
    // TGA, true colour, 65535 x 65535.
    WriteBytes("huge.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 32, 0}, 4096);
    // TGA with a 300-entry palette, more than Allegro's table holds.
    WriteBytes("pal.tga", {0, 1, 1, 0, 0, 0x2c, 0x01, 24, 0, 0, 0, 0, 4, 0, 4, 0, 8, 0}, 4096);
    // BMP, 24 bits, 200000 x 200000.
    WriteBytes("huge.bmp", {'B', 'M', 0, 0x10, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                            0x40, 0x0d, 0x03, 0, 0x40, 0x0d, 0x03, 0, 1, 0, 24, 0},
               4096);
    // BMP, 8 bits, with a pixel offset that would read 1000 palette entries.
    WriteBytes("pal.bmp", {'B', 'M', 0, 0x10, 0, 0, 0, 0, 0, 0, 0xf6, 0x0f, 0, 0, 40, 0, 0, 0,
                           4, 0, 0, 0, 4, 0, 0, 0, 1, 0, 8, 0},
               4096);
    // PCX whose corners give a negative width.
    WriteBytes("neg.pcx", {10, 5, 1, 8, 10, 0, 0, 0, 2, 0, 4, 0}, 4096);
    // PCX 3x5 whose stored lines hold no pixels, which would stay undefined.
    std::vector<unsigned char> noLine = {10, 5, 1, 8, 0, 0, 0, 0, 2, 0, 4, 0};
    noLine.resize(65, 0);
    noLine.insert(noLine.end(), {1, 0, 0});  // one plane, 0 bytes a line
    WriteBytes("noline.pcx", noLine, 4096);
    // TGA whose 0-bit palette entries Allegro would leave undefined.
    WriteBytes("nopal.tga", {0, 1, 1, 0, 0, 4, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 8, 0}, 4096);
    // PNG announcing 1000000 x 1000000.
    WriteBytes("huge.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                            'R', 0, 0x0f, 0x42, 0x40, 0, 0x0f, 0x42, 0x40, 8, 2, 0, 0, 0},
               4096);
    // JPEG whose frame header announces 65500 x 65500.
    WriteBytes("huge.jpg", {0xff, 0xd8, 0xff, 0xe0, 0, 4, 0, 0, 0xff, 0xc0, 0, 17, 8, 0xff, 0xdc,
                            0xff, 0xdc, 3},
               4096);
    // Neither PNG nor JPEG content behind a ".png" name.
    WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o'}, 4096);
    for (const char* name :
         {"huge.tga", "pal.tga", "huge.bmp", "pal.bmp", "neg.pcx", "noline.pcx", "nopal.tga", "huge.png", "huge.jpg",
          "text.png"}) {
        Bmp b(5, 3, "kept");
        putpixel(b.GetBitmap(), 1, 1, makecol(1, 2, 3));
        b.LoadPic(name);
        EXPECT_FALSE(b.Loaded()) << name;
        EXPECT_EQ(b.Width(), 5) << name;
        EXPECT_EQ(b.Height(), 3) << name;
        EXPECT_EQ(PixelAt(b.GetBitmap(), 1, 1), (Rgb{1, 2, 3})) << name;
    }
}

// Allegro's TGA run reader trusts the counts: a run past the end of its row
// would write outside the bitmap, so such files are refused. BMP runs are
// read by our own reader, which drops the pixels of a run past the end of
// its row (some writers fill odd rows up to an even width) and refuses only
// moves out of the picture.
TEST(LoadPic, RunLengthPicturesLoadOnlyWhenTheirRunsStayInside) {
    TempDir dir;
    Make("-size 7x5 xc:red -size 6x5 xc:blue +append -compress RLE rle.tga");
    Bmp tga("rle.tga");
    ASSERT_TRUE(tga.Loaded());
    EXPECT_EQ(PixelAt(tga.GetBitmap(), 6, 4), kRed);
    EXPECT_EQ(PixelAt(tga.GetBitmap(), 7, 0), kBlue);

    // 2x2, 8 bits, two palette entries (red, blue), bottom row first.
    std::vector<unsigned char> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0,
                                      2, 0, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0};
    bmp.resize(54, 0);
    const unsigned char palette[] = {0, 0, 255, 0, 255, 0, 0, 0};
    bmp.insert(bmp.end(), palette, palette + 8);
    std::vector<unsigned char> fits = bmp, overruns = bmp, moveOut = bmp;
    const unsigned char goodRuns[] = {2, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1};
    fits.insert(fits.end(), goodRuns, goodRuns + sizeof goodRuns);
    const unsigned char longRun[] = {3, 1, 0, 0, 0, 1};
    overruns.insert(overruns.end(), longRun, longRun + sizeof longRun);
    const unsigned char farMove[] = {0, 2, 0, 9, 1, 1, 0, 1};
    moveOut.insert(moveOut.end(), farMove, farMove + sizeof farMove);
    WriteBytes("fits.bmp", fits, 0);
    WriteBytes("overruns.bmp", overruns, 0);
    WriteBytes("moveout.bmp", moveOut, 0);
    Bmp ok("fits.bmp");
    ASSERT_TRUE(ok.Loaded());
    EXPECT_EQ(PixelAt(ok.GetBitmap(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(ok.GetBitmap(), 1, 0), kBlue);
    EXPECT_EQ(PixelAt(ok.GetBitmap(), 0, 1), kBlue);
    Bmp clipped("overruns.bmp");
    ASSERT_TRUE(clipped.Loaded()) << clipped.Failure();
    EXPECT_EQ(PixelAt(clipped.GetBitmap(), 0, 1), kBlue);
    EXPECT_EQ(PixelAt(clipped.GetBitmap(), 1, 1), kBlue);
    // Never written: transparent, so the mask colour.
    EXPECT_EQ(getpixel(clipped.GetBitmap(), 1, 0), bitmap_mask_color(clipped.GetBitmap()));
    Bmp moved("moveout.bmp");
    EXPECT_FALSE(moved.Loaded());
    EXPECT_EQ(moved.Failure(), "damaged: a move in its runs leaves the picture");

    // A TGA run of 128 pixels in a picture 7 wide.
    std::vector<unsigned char> tgaRun = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 5, 0, 24, 0, 0xff, 0, 0, 255};
    WriteBytes("overrun.tga", tgaRun, 0);
    EXPECT_FALSE(Bmp("overrun.tga").Loaded());
}

// Uncompressed data shorter than the header promises: a small file must not
// ask for a large surface.
TEST(LoadPic, PicturesCutShortAreRefused) {
    TempDir dir;
    WriteBytes("short.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 7, 0, 0, 0,
                             0xa0, 0x86, 0x01, 0, 1, 0, 24, 0, 0, 0, 0, 0},
               4096);
    WriteBytes("short.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x27, 0x10, 0x27, 24, 0}, 4096);
    EXPECT_FALSE(Bmp("short.bmp").Loaded());
    EXPECT_FALSE(Bmp("short.tga").Loaded());
}

// The same picture stored top row first: rows reversed, height negated.
std::string TopDown(std::string bmp) {
    auto le32 = [&](size_t at) {
        return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 |
               uint32_t(uint8_t(bmp[at + 2])) << 16 | uint32_t(uint8_t(bmp[at + 3])) << 24;
    };
    size_t start = le32(10), w = le32(18), h = le32(22), bits = uint8_t(bmp[28]);
    size_t rowBytes = (w * bits + 31) / 32 * 4;
    std::string rows = bmp.substr(start, rowBytes * h);
    for (size_t y = 0; y < h; y++) bmp.replace(start + y * rowBytes, rowBytes, rows, (h - 1 - y) * rowBytes, rowBytes);
    uint32_t negated = static_cast<uint32_t>(-static_cast<int32_t>(h));
    for (int i = 0; i < 4; i++) bmp[22 + i] = char(negated >> (8 * i));
    return bmp;
}

// A top-down copy of each bottom-up BMP loads to the same pixels.
TEST(LoadPic, TopDownBmpsLoadInEveryDepth) {
    TempDir dir;
    Make("-size 7x3 xc:red xc:lime xc:blue +append -flip -gravity south -splice 0x1 few.png");
    Make("-size 37x8 xc: -channel R -fx i/w -channel G -fx j/h -channel B -fx '(i+j)%5/5' +channel many.png");
    const char* const made[][2] = {{"1", "few.png -type bilevel BMP3:"},
                                   {"4", "few.png -type palette BMP3:"},
                                   {"8", "many.png -type palette -compress None BMP3:"},
                                   {"16", "many.png -type truecolor -define bmp:subtype=RGB555 BMP3:"},
                                   {"24", "many.png -type truecolor BMP3:"},
                                   {"32", "many.png -type truecolormatte BMP:"}};
    for (auto [bits, how] : made) {
        std::string name = std::string(bits) + ".bmp", flipped = std::string(bits) + "-down.bmp";
        Make(how + name);
        std::string bmp = ReadFile(name);
        // Allegro reads 16- and 32-bit pixels only without colour masks (the
        // masks written here are the ones it assumes), and only after the
        // short info header.
        if (bmp[28] == 16 || bmp[28] == 32) bmp[14] = 40, bmp[30] = 0;
        ASSERT_TRUE(WriteFile(name, bmp) && WriteFile(flipped, TopDown(bmp)));
        Bmp up(name), down(flipped);
        ASSERT_TRUE(up.Loaded()) << name;
        ASSERT_TRUE(down.Loaded()) << flipped << ": " << down.Failure();
        ASSERT_EQ(down.Height(), up.Height()) << name;
        for (int y = 0; y < up.Height(); y++)
            for (int x = 0; x < up.Width(); x++)
                ASSERT_EQ(PixelAt(down.GetBitmap(), x, y), PixelAt(up.GetBitmap(), x, y))
                    << name << " " << x << "," << y;
    }
}

TEST(LoadPic, AFailedLoadKeepsThePictureAndAFreshOneGetsThePlaceholder) {
    TempDir dir;
    Make("-size 6x4 xc:blue PNG24:blue.png");
    Bmp b("blue.png");
    ASSERT_TRUE(b.Loaded());
    b.LoadPic("missing.png");
    EXPECT_FALSE(b.Loaded());
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(PixelAt(b.GetBitmap(), 2, 2), kBlue);

    Bmp missing("missing.bmp");
    EXPECT_FALSE(missing.Loaded());
    ASSERT_EQ(missing.Width(), 8);
    // Visibly a placeholder: two different colours, one of them the mask.
    EXPECT_EQ(getpixel(missing.GetBitmap(), 0, 0), makecol(255, 0, 255));
    EXPECT_NE(getpixel(missing.GetBitmap(), 2, 0), makecol(255, 0, 255));
}

TEST(GetSdlPixel, AssemblesOneToFourBytes) {
    const int depths[] = {8, 16, 24, 32};
    const Uint32 expected[] = {0x11, 0x2211, 0x332211, 0x44332211};
    for (int i = 0; i < 4; i++) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, depths[i], 0, 0, 0, 0);
        ASSERT_NE(s, nullptr);
        int bpp = s->format->BytesPerPixel;
        ASSERT_EQ(bpp, i + 1);
        Uint8* p = static_cast<Uint8*>(s->pixels) + 1 * s->pitch + 2 * bpp;
        const Uint8 bytes[] = {0x11, 0x22, 0x33, 0x44};
        for (int k = 0; k < bpp; k++) p[k] = bytes[k];
        EXPECT_EQ(GetSdlPixel(s, 2, 1), expected[i]) << depths[i];
        EXPECT_EQ(GetSdlPixel(s, 0, 0), 0u) << depths[i];
        SDL_FreeSurface(s);
    }
}

// A 16-bit surface (5-6-5) goes through the general decoder; at an Allegro
// depth of 16 the pixels are written through putpixel.
TEST(BitmapFromSurface, SixteenBitSurfacesAndDepths) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 16, 0xf800, 0x07e0, 0x001f, 0);
    ASSERT_NE(s, nullptr);
    Uint16* p = static_cast<Uint16*>(s->pixels);
    p[0] = 0xf800;  // red
    p[1] = 0x001f;  // blue
    BITMAP* at32 = BitmapFromSurface(s);
    ASSERT_NE(at32, nullptr);
    EXPECT_EQ(PixelAt(at32, 0, 0), kRed);
    EXPECT_EQ(PixelAt(at32, 1, 0), kBlue);
    destroy_bitmap(at32);

    set_color_depth(16);
    BITMAP* at16 = BitmapFromSurface(s);
    ASSERT_NE(at16, nullptr);
    EXPECT_EQ(bitmap_color_depth(at16), 16);
    int c = getpixel(at16, 0, 0);
    EXPECT_EQ(getr(c), 255);
    EXPECT_EQ(getb(getpixel(at16, 1, 0)), 255);
    destroy_bitmap(at16);
    set_color_depth(32);
    SDL_FreeSurface(s);
}
