// Area and colour marks on small drawn pictures at every pixel size, and on a
// long spiral that a recursive fill could not survive.
#include "bmp/flood_fill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/spiral_maze.h"

namespace {

using Picture = std::vector<std::string>;

// Odd characters set the pixel's top bit, so '.' and '/' differ only there.
uint32_t ColourOf(char ch, int bytesPerPixel) { return ch >> 1 | (ch & 1u) << (8 * bytesPerPixel - 1); }

struct Drawn {
    Drawn(const Picture& rows, int bpp) : buffer(rows[0].size(), rows.size(), bpp), bpp(bpp) {
        for (size_t y = 0; y < rows.size(); y++)
            for (size_t x = 0; x < rows[y].size(); x++) WritePixel(buffer.Rows(), x, y, ColourOf(rows[y][x], bpp));
    }
    Picture Read() const {
        const PixelGrid& p = buffer.Rows();
        Picture rows(p.height, std::string(p.width, '?'));
        for (int y = 0; y < p.height; y++)
            for (int x = 0; x < p.width; x++)
                for (char ch : std::string("#./o"))
                    if (ReadPixel(p, x, y) == ColourOf(ch, bpp)) rows[y][x] = ch;
        return rows;
    }
    PixelBuffer buffer;
    int bpp;
};

}  // namespace

// Each picture is filled with 'o' from the seed at every pixel size.
TEST(FloodFill, FillsTheFourConnectedAreaOfTheSeedsColour) {
    struct Case {
        const char* what;
        Picture before;
        int x, y;
        Picture after;
        PixelRect bounds;
    } cases[] = {
        {"inside a closed outline", {"#####", "#...#", "#.#.#", "#####"}, 1, 1,
         {"#####", "#ooo#", "#o#o#", "#####"}, {1, 1, 3, 2}},
        {"around islands, back up", {".#.#.", ".#.#.", "....."}, 4, 0, {"o#o#o", "o#o#o", "ooooo"}, {0, 0, 5, 3}},
        {"diagonal gaps are walls", {"..#", ".#.", "#.."}, 0, 0, {"oo#", "o#.", "#.."}, {0, 0, 2, 2}},
        {"colours differing in the top bit", {"../..", "./..."}, 0, 0, {"oo/..", "o/..."}, {0, 0, 2, 2}},
        {"the fill colour itself", {"o#o", "oo#"}, 0, 0, {"o#o", "oo#"}, {0, 0, 2, 2}},
        {"a seed outside", {"..", ".."}, 2, 0, {"..", ".."}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        for (int bpp = 1; bpp <= 4; bpp++) {
            SCOPED_TRACE(std::string(c.what) + ", bytes per pixel " + std::to_string(bpp));
            Drawn drawn(c.before, bpp);
            FillMarks marks = MarkArea(drawn.buffer.Rows(), c.x, c.y);
            EXPECT_EQ(c.before, drawn.Read()) << "marking must not write";
            WriteMarked(drawn.buffer.Rows(), marks, ColourOf('o', bpp));
            EXPECT_EQ(c.after, drawn.Read());
            PixelRect b = marks.Bounds();
            EXPECT_EQ((std::vector<int>{c.bounds.x, c.bounds.y, c.bounds.w, c.bounds.h}),
                      (std::vector<int>{b.x, b.y, b.w, b.h}));
        }
    }
}

// The whole corridor, however long, and the same marks when the work list may
// hold no span at all and every row must be swept again.
TEST(FloodFill, SpiralIsMarkedWholeWithAnyWorkLimit) {
    PixelBuffer maze(2048, 2048, 4);
    size_t corridor = PaintSpiral(maze.Rows(), 0xFF000000, 0xFFFFFFFF);
    FillMarks marks = MarkArea(maze.Rows(), 0, 0);
    EXPECT_EQ(corridor, marks.Count());
    EXPECT_EQ(corridor, MarkColour(maze.Rows(), 0xFFFFFFFF).Count());
    EXPECT_EQ(2048, marks.Bounds().w);
    EXPECT_EQ(2048, marks.Bounds().h);

    PixelBuffer small(64, 64, 4);
    size_t smallCorridor = PaintSpiral(small.Rows(), 0xFF000000, 0xFFFFFFFF);
    FillMarks starved = MarkArea(small.Rows(), 0, 0, 0);
    FillMarks full = MarkArea(small.Rows(), 0, 0);
    ASSERT_EQ(smallCorridor, starved.Count());
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) ASSERT_EQ(full.At(x, y), starved.At(x, y)) << x << "," << y;
}
