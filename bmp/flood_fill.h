// Flood fills on plain rows of pixels, in two steps: a read-only pass marks
// the pixels to change, one bit each, and a second pass writes them. The
// marks' bounds are known before anything is written, so a caller can save
// that rectangle for undo first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bmp/pixel_grid.h"

// One bit per pixel over the picture, and the bounding rectangle of the set bits.
class FillMarks {
public:
    FillMarks() = default;  // no picture, nothing marked
    FillMarks(int width, int height);

    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && Test(x, y); }
    PixelRect Bounds() const;
    size_t Count() const { return count; }
    size_t Bytes() const { return bits.size() * sizeof(uint64_t); }
    int Width() const { return width; }
    int Height() const { return height; }

    // Marks x0..x1 of row y, inclusive; none of them may be marked already.
    void MarkSpan(int y, int x0, int x1);
    // As At, for a pixel known to be inside the picture.
    bool Test(int x, int y) const { return Row(y)[x >> 6] >> (x & 63) & 1; }
    const uint64_t* Row(int y) const { return bits.data() + static_cast<size_t>(y) * wordsPerRow; }

private:
    int width = 0, height = 0;
    size_t wordsPerRow = 0;
    std::vector<uint64_t> bits;
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left when empty
    size_t count = 0;
};

// Marks the 4-connected area of the colour at (x, y) (read-only pass over `p`).
// (x, y) outside the picture: empty marks.
FillMarks MarkArea(const PixelGrid& p, int x, int y);
// The same with at most workLimit spans waiting at once: the spans that do not
// fit are found again later by sweeping the rows they lie in, so memory stays
// bounded whatever the shape of the area.
FillMarks MarkArea(const PixelGrid& p, int x, int y, size_t workLimit);
// Marks every pixel of colour `c` in the whole picture.
FillMarks MarkColour(const PixelGrid& p, uint32_t c);
// Writes c to every marked pixel (only inside marks.Bounds()). Marks made for
// a picture of another size write nothing.
void WriteMarked(const PixelGrid& p, const FillMarks& marks, uint32_t c);
