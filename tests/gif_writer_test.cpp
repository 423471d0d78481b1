// The GIF writer's changed rectangles and palettes, checked by decoding what
// it wrote: frames must come back exact whenever they fit in 256 colours per
// stored rectangle, and near their own colours when they do not.
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
        ASSERT_TRUE(gif.Open("t.gif", W, H, global ? colours.Sorted() : std::vector<uint32_t>{}, 0));
        for (const Frame& f : frames) ASSERT_TRUE(gif.Add(f.data(), 7));
        ASSERT_TRUE(gif.Close());
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
