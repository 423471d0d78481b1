#include "surface_size.h"

#include <allegro.h>
#include <unistd.h>

#include <climits>

int CurrentBytesPerPixel() { return BytesPerPixelOf(get_color_depth()); }

int BytesPerPixelOf(int depth) {
    switch (depth) {
        case 8: return 1;
        case 15:
        case 16: return 2;
        case 24: return 3;
        default: return 4;
    }
}

static int64_t PhysicalMemoryBytes() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return INT64_MAX;
    return static_cast<int64_t>(pages) * pageSize;
}

bool SurfaceSizeAllowedAt(int64_t w, int64_t h, int bytesPerPixel) {
    if (w < 1 || h < 1 || bytesPerPixel < 1) return false;
    // Each factor is checked first so that the product cannot overflow.
    if (w > INT_MAX || h > INT_MAX) return false;
    int64_t rowBytes = w * bytesPerPixel;
    if (rowBytes > INT_MAX) return false;
    if (h > INT_MAX / rowBytes) return false;
    int64_t total = rowBytes * h;
    return total <= PhysicalMemoryBytes();
}

bool SurfaceSizeAllowed(int64_t w, int64_t h) {
    return SurfaceSizeAllowedAt(w, h, CurrentBytesPerPixel());
}

bool SurfacesSizeAllowed(int64_t count, int64_t w, int64_t h) {
    if (count < 1 || !SurfaceSizeAllowed(w, h)) return false;
    // One surface is below 2^31 bytes, so the product needs no overflow guard
    // until count reaches 2^32.
    if (count > INT_MAX) return false;
    return count * w * h * CurrentBytesPerPixel() <= PhysicalMemoryBytes();
}
