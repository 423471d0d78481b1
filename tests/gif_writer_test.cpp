// The GIF writer's changed rectangles and palettes, checked by decoding what
// it wrote: frames must come back exact whenever they fit in 256 colours per
// stored rectangle.
#include "bmp/gif_writer.h"

#include <gtest/gtest.h>

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

DecodedGif WriteAndDecode(const std::vector<Frame>& frames, bool global, bool* reduced = nullptr) {
    ColourSet colours(256);
    for (const Frame& f : frames) colours.Add(f.data(), f.size());
    GifWriter gif;
    EXPECT_TRUE(gif.Open("t.gif", W, H, global ? colours.Sorted() : std::vector<uint32_t>{}, 0));
    for (const Frame& f : frames) EXPECT_TRUE(gif.Add(f.data(), 7));
    EXPECT_TRUE(gif.Close());
    if (reduced) *reduced = gif.Reduced();
    return DecodeGif("t.gif");
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
// transparent index), and 350 in all with a new background in frame 1.
TEST(GifWriter, FramesComeBackExactWithGlobalOrLocalPalettes) {
    TempDir dir;
    for (int shades : {40, 250, 200}) {
        int later = shades == 200 ? 150 : 0;
        std::vector<Frame> frames = {Scene(shades, 0, 1, 1, 0xFF0000), Scene(shades, later, 5, 2, 0xFF0000),
                                     Scene(shades, later, 5, 2, 0xFF0000), Scene(shades, later, 9, 9, 0xF00000)};
        for (bool global : {true, false}) {
            if (global && later) continue;  // over 256 colours: no global palette
            bool reduced = true;
            DecodedGif d = WriteAndDecode(frames, global, &reduced);
            ASSERT_EQ(4u, d.frames.size()) << shades << " shades, global " << global;
            for (size_t i = 0; i < frames.size(); i++) EXPECT_EQ(frames[i], d.frames[i]) << shades << " frame " << i;
            EXPECT_EQ(7, d.delays[3]);
            EXPECT_FALSE(reduced);
        }
    }
}

// More than 256 colours in one rectangle: reduced, each pixel near its own.
TEST(GifWriter, TooManyColoursInARectangleAreReducedNotLost) {
    TempDir dir;
    Frame first = Scene(7, 0, 0, 0, 0), second(W * H);
    for (int i = 0; i < W * H; i++) second[i] = 0x400000u + i % W * 4 * 0x100u + i / W * 4u;
    bool reduced = false;
    DecodedGif d = WriteAndDecode({first, second}, false, &reduced);
    EXPECT_TRUE(reduced);
    ASSERT_EQ(2u, d.frames.size());
    EXPECT_EQ(first, d.frames[0]);
    for (int i = 0; i < W * H; i++)
        for (int shift : {0, 8, 16})
            ASSERT_NEAR(second[i] >> shift & 0xFF, d.frames[1][i] >> shift & 0xFF, 6) << "pixel " << i;
}
