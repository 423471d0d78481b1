#include "bmp/pixel_grid.h"

uint32_t ReadPixel(const PixelGrid& p, int x, int y) {
    uint32_t c = 0;
    ForPixelSize(p.bytesPerPixel, [&](auto size) {
        constexpr int B = decltype(size)::value;
        c = LoadPixel<B>(p.line[y] + x * B);
    });
    return c;
}

void WritePixel(const PixelGrid& p, int x, int y, uint32_t c) {
    ForPixelSize(p.bytesPerPixel, [&](auto size) {
        constexpr int B = decltype(size)::value;
        StorePixel<B>(p.line[y] + x * B, c);
    });
}

PixelBuffer::PixelBuffer(int width, int height, int bytesPerPixel)
    : bytes(static_cast<size_t>(width) * height * bytesPerPixel), lines(height),
      rows{lines.data(), width, height, bytesPerPixel} {
    for (int y = 0; y < height; y++) lines[y] = bytes.data() + static_cast<size_t>(y) * width * bytesPerPixel;
}
