#pragma once
#include <cstdint>

// A rectangle of a picture in 64 bits: boxes and jump steps read from the
// settings may reach far outside any picture, where int sums overflow.
struct Area {
    int64_t x = 0, y = 0, w = 0, h = 0;
    bool Empty() const { return w < 1 || h < 1; }
    int64_t Right() const { return x + w; }
    int64_t Bottom() const { return y + h; }
    bool operator==(const Area& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// The part of a inside b; empty when they do not meet.
Area Intersection(const Area& a, const Area& b);
// The smallest area holding both (an empty one adds nothing).
Area Union(const Area& a, const Area& b);
