// A picture's pixels as rows of bytes, free of any display, and the pixel
// access the fills and turns share. The loops are instantiated once per pixel
// size through ForPixelSize, so the inner loops never branch on the depth.
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

// A picture's pixels as rows, free of any display: line[y] points at row y
// (an Allegro memory bitmap's BITMAP::line fits as it is).
struct PixelGrid {
    unsigned char* const* line;
    int width, height;
    int bytesPerPixel;  // 1, 2, 3 or 4 (8, 15/16, 24, 32-bit colour depths)
};

// w or h 0 = empty
struct PixelRect {
    int x, y, w, h;
};

// One pixel of B bytes at q; 24-bit pixels are three little-endian bytes.
template <int B>
inline uint32_t LoadPixel(const unsigned char* q) {
    if constexpr (B == 1) {
        return *q;
    } else if constexpr (B == 3) {
        return q[0] | q[1] << 8 | static_cast<uint32_t>(q[2]) << 16;
    } else {
        std::conditional_t<B == 2, uint16_t, uint32_t> v;
        std::memcpy(&v, q, B);
        return v;
    }
}

template <int B>
inline void StorePixel(unsigned char* q, uint32_t c) {
    if constexpr (B == 1) {
        *q = static_cast<unsigned char>(c);
    } else if constexpr (B == 3) {
        q[0] = static_cast<unsigned char>(c);
        q[1] = static_cast<unsigned char>(c >> 8);
        q[2] = static_cast<unsigned char>(c >> 16);
    } else {
        std::conditional_t<B == 2, uint16_t, uint32_t> v = static_cast<decltype(v)>(c);
        std::memcpy(q, &v, B);
    }
}

// Calls f(std::integral_constant<int, B>{}) for the picture's pixel size B;
// an unknown size does nothing.
template <class F>
inline void ForPixelSize(int bytesPerPixel, F&& f) {
    switch (bytesPerPixel) {
    case 1: f(std::integral_constant<int, 1>{}); break;
    case 2: f(std::integral_constant<int, 2>{}); break;
    case 3: f(std::integral_constant<int, 3>{}); break;
    case 4: f(std::integral_constant<int, 4>{}); break;
    default: break;
    }
}

inline bool Contains(const PixelGrid& p, int x, int y) {
    return x >= 0 && y >= 0 && x < p.width && y < p.height;
}

uint32_t ReadPixel(const PixelGrid& p, int x, int y);
void WritePixel(const PixelGrid& p, int x, int y, uint32_t c);

// Pixels owned in memory, for pictures that are not Allegro bitmaps (scratch
// copies, tests and benchmarks); starts all zero.
class PixelBuffer {
public:
    PixelBuffer(int width, int height, int bytesPerPixel);
    PixelBuffer(const PixelBuffer&) = delete;  // the rows point into its bytes
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    const PixelGrid& Rows() const { return rows; }

private:
    std::vector<unsigned char> bytes;
    std::vector<unsigned char*> lines;
    PixelGrid rows;
};
