#pragma once
#include <cstdint>
#include <vector>

#include "area.h"

// Mirror drawing: besides the shape itself, its image across a vertical
// axis (x' = sumX - x), a horizontal one (y' = sumY - y), or both and the
// image across both at once. The sums are twice the axis position, so an
// axis can run through a pixel's centre (odd sums run between pixels).
enum class MirrorMode { Off = 0, Vertical = 1, Horizontal = 2, Both = 3 };

struct Reflection {
    bool acrossX;  // x' = sumX - x
    bool acrossY;  // y' = sumY - y
};

struct MirrorAxes {
    MirrorMode mode = MirrorMode::Off;
    int64_t sumX = 0, sumY = 0;

    // The reflections to draw besides the shape itself.
    std::vector<Reflection> Images() const;
    Area Reflect(const Area& a, Reflection r) const;
    int64_t ReflectX(int64_t x) const { return sumX - x; }
    int64_t ReflectY(int64_t y) const { return sumY - y; }
};

// The next mode of the cycle off, vertical, horizontal, both, off.
MirrorMode NextMirrorMode(MirrorMode m);
