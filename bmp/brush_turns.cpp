#include "bmp/brush_turns.h"

#include <algorithm>

namespace {

template <int B>
void FlipRows(const PixelGrid& p) {
    for (int y = 0; y < p.height; y++) {
        unsigned char* row = p.line[y];
        for (int x = 0, mirror = p.width - 1; x < mirror; x++, mirror--)
            std::swap_ranges(row + x * B, row + x * B + B, row + mirror * B);
    }
}

// Every pixel of dst from src, where dst (x, y) shows src (sourceX, sourceY)
// as given by `from`.
template <int B, class From>
void Turn(const PixelGrid& src, const PixelGrid& dst, From from) {
    for (int y = 0; y < dst.height; y++) {
        unsigned char* row = dst.line[y];
        for (int x = 0; x < dst.width; x++) {
            auto [sx, sy] = from(x, y);
            StorePixel<B>(row + x * B, LoadPixel<B>(src.line[sy] + sx * B));
        }
    }
}

bool FitsTurned(const PixelGrid& src, const PixelGrid& dst) {
    return dst.width == src.height && dst.height == src.width && dst.bytesPerPixel == src.bytesPerPixel;
}

struct Position {
    int x, y;
};

}  // namespace

void FlipLeftRight(const PixelGrid& p) {
    ForPixelSize(p.bytesPerPixel, [&](auto size) { FlipRows<decltype(size)::value>(p); });
}

void FlipTopBottom(const PixelGrid& p) {
    size_t rowBytes = static_cast<size_t>(p.width) * p.bytesPerPixel;
    for (int y = 0, mirror = p.height - 1; y < mirror; y++, mirror--)
        std::swap_ranges(p.line[y], p.line[y] + rowBytes, p.line[mirror]);
}

// Turned clockwise, the bottom-left pixel comes to the top-left.
void TurnClockwise(const PixelGrid& src, const PixelGrid& dst) {
    if (!FitsTurned(src, dst)) return;
    ForPixelSize(src.bytesPerPixel, [&](auto size) {
        Turn<decltype(size)::value>(src, dst, [&](int x, int y) { return Position{y, src.height - 1 - x}; });
    });
}

// Turned anticlockwise, the top-right pixel comes to the top-left.
void TurnAnticlockwise(const PixelGrid& src, const PixelGrid& dst) {
    if (!FitsTurned(src, dst)) return;
    ForPixelSize(src.bytesPerPixel, [&](auto size) {
        Turn<decltype(size)::value>(src, dst, [&](int x, int y) { return Position{src.width - 1 - y, x}; });
    });
}
