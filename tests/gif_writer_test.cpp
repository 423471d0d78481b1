// The GIF writer's changed rectangles and palettes, checked by decoding what
// it wrote: frames must come back exact whenever they fit in 256 colours per
// stored rectangle, and near their own colours when they do not.
#include "bmp/gif_writer.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "bmp/gif_export.h"
#include "gif_decode.h"
#include "test_support.h"

namespace {

const int W = 24, H = 20;
using Frame = std::vector<uint32_t>;

// A background of `shades` colours (from the `first`th on) with a 3x3 figure
// at x, y whose colours, ink + 0..2, the background never has.
Frame Scene(int shades, int first, int x, int y, uint32_t ink) {
    Frame f(W * H);
    for (int i = 0; i < W * H; i++) {
        uint32_t s = static_cast<uint32_t>(i % shades + first);
        f[i] = s % 13 * 0x100000u + s / 13 * 0x100u + 0x20u;
    }
    for (int dy = 0; dy < 3; dy++)
        for (int dx = 0; dx < 3; dx++) f[(y + dy) * W + x + dx] = ink + dx;
    return f;
}

}  // namespace

TEST(GifWriter, ChangedRectIsTheBoundingBoxOfTheDifferences) {
    Frame a = Scene(5, 0, 0, 0, 0xFF0000), b = a;
    EXPECT_EQ(0, FindChangedRect(a.data(), b.data(), W, H).w);
    b[3 * W + 7] = 1, b[9 * W + 2] = 1;
    ChangedRect r = FindChangedRect(a.data(), b.data(), W, H);
    EXPECT_EQ((std::vector<int>{2, 3, 6, 7}), (std::vector<int>{r.x, r.y, r.w, r.h}));
    b[H * W - 1] = 1;
    r = FindChangedRect(a.data(), b.data(), W, H);
    EXPECT_EQ((std::vector<int>{2, 3, W - 2, H - 3}), (std::vector<int>{r.x, r.y, r.w, r.h}));
}

// A figure moving over a still background and a frame repeated unchanged,
// with global and local palettes: few colours, exactly 256 (no room for a
// transparent index), and 350 in all with a new background in frame 1. Then
// a rectangle of more than 256 colours: reduced, each pixel near its own.
TEST(GifWriter, FramesComeBackExactUnlessARectangleHoldsOver256Colours) {
    TempDir dir;
    Frame gradient(W * H);
    for (int i = 0; i < W * H; i++) gradient[i] = 0x400000u + i % W * 4 * 0x100u + i / W * 4u;
    auto walk = [](int shades, int later) {
        return std::vector<Frame>{Scene(shades, 0, 1, 1, 0xFF0000), Scene(shades, later, 5, 2, 0xFF0000),
                                  Scene(shades, later, 5, 2, 0xFF0000), Scene(shades, later, 9, 9, 0xF00000)};
    };
    const std::pair<std::vector<Frame>, bool> cases[] = {  // frames, global palette
        {walk(40, 0), true},  {walk(40, 0), false},    {walk(250, 0), true},
        {walk(250, 0), false}, {walk(200, 150), false}, {{Scene(7, 0, 0, 0, 0), gradient}, false}};
    for (size_t k = 0; k < std::size(cases); k++) {
        const auto& [frames, global] = cases[k];
        ColourSet colours(256);
        for (const Frame& f : frames) colours.Add(f.data(), f.size());
        GifWriter gif;
        std::FILE* out = std::fopen("t.gif", "wb");
        ASSERT_TRUE(gif.Open(out, W, H, global ? colours.Sorted() : std::vector<uint32_t>{}, 0));
        for (const Frame& f : frames) ASSERT_TRUE(gif.Add(f.data(), 7));
        ASSERT_TRUE(gif.Close());
        ASSERT_EQ(0, std::fclose(out));
        EXPECT_EQ(frames.back() == gradient, gif.Reduced()) << "case " << k;
        DecodedGif d = DecodeGif("t.gif");
        ASSERT_EQ(frames.size(), d.frames.size()) << "case " << k;
        EXPECT_EQ(7, d.delays.back());
        for (size_t n = 0; n < frames.size(); n++)
            for (size_t i = 0; i < frames[n].size(); i++)
                for (int shift : {0, 8, 16})
                    ASSERT_NEAR(frames[n][i] >> shift & 0xFF, d.frames[n][i] >> shift & 0xFF,
                                frames[n] == gradient ? 6 : 0)
                        << "case " << k << " frame " << n << " pixel " << i;
    }
}

// The export reads each frame for its check and again for the write unless
// the frames are kept: a frame file that changed in between (frame 1 gets a
// colour the check never saw, another size, or no longer reads) ends in a
// GIF of what the check saw, its nearest colours, or a reason; never in a
// throw.
TEST(GifExport, AFrameThatChangesBetweenThePassesGivesAGifOrAReason) {
    TempDir dir;
    const std::vector<Frame> frames = {Scene(5, 0, 1, 1, 0xFF0000), Scene(5, 0, 4, 2, 0xFF0000),
                                       Scene(5, 0, 8, 3, 0xFF0000)};
    const uint32_t kNew = 0x0000FEu;  // nearest in the palette: 0x000020, pixel 0's colour
    enum Change { Colour, Size, Gone };
    for (size_t keep : {kKeptFramesBytes, size_t{0}}) {
        for (Change change : {Colour, Size, Gone}) {
            std::string what = "keep " + std::to_string(keep) + " change " + std::to_string(change);
            int reads[3] = {0, 0, 0};
            GifExport gif(3, [&](int i, RgbPixels& px, std::string& why) {
                bool again = ++reads[i] > 1 && i == 1;
                if (again && change == Gone) return why = "frame 1 is missing", false;
                px.w = W, px.h = H, px.argb = frames[i];
                if (again && change == Colour) px.argb[0] = kNew;
                if (again && change == Size) px.w = W - 1, px.argb.resize((W - 1) * H);
                return true;
            }, keep);
            std::string why;
            ASSERT_TRUE(gif.Check(why)) << what;
            std::FILE* out = std::fopen("t.gif", "wb");
            bool written = gif.Write(out, 7, 0, why);
            std::fclose(out);
            EXPECT_EQ(keep > 0 ? 1 : 2, reads[1]) << what;
            if (keep == 0 && change == Gone) {
                EXPECT_FALSE(written) << what;
                EXPECT_EQ("frame 1 is missing", why) << what;
                continue;
            }
            if (keep == 0 && change == Size) {
                EXPECT_FALSE(written) << what;
                EXPECT_EQ("a frame changed its size during the export", why) << what;
                continue;
            }
            ASSERT_TRUE(written) << what;
            bool nearest = keep == 0 && change == Colour;
            EXPECT_EQ(nearest, gif.ChangedColours()) << what;
            EXPECT_FALSE(gif.Reduced()) << what;
            DecodedGif d = DecodeGif("t.gif");
            ASSERT_EQ(3u, d.frames.size()) << what;
            // The changed pixel comes out as its nearest palette colour,
            // which is the one it had when checked.
            for (size_t n = 0; n < 3; n++)
                for (size_t i = 0; i < frames[n].size(); i++)
                    ASSERT_EQ(frames[n][i], d.frames[n][i]) << what << " frame " << n << " pixel " << i;
        }
    }
}
