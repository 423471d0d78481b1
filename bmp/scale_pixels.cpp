#include "scale_pixels.h"

#include <algorithm>
#include <cstring>

RgbPixels ScaledUp(const RgbPixels& px, int scale) {
    if (scale <= 1) return px;
    RgbPixels out;
    out.w = px.w * scale;
    out.h = px.h * scale;
    out.argb.resize(static_cast<size_t>(out.w) * out.h);
    for (int y = 0; y < px.h; y++) {
        const uint32_t* from = px.Row(y);
        uint32_t* first = out.argb.data() + static_cast<size_t>(y) * scale * out.w;
        for (int x = 0; x < px.w; x++) std::fill_n(first + static_cast<size_t>(x) * scale, scale, from[x]);
        // The other rows of the block are copies of the first.
        for (int k = 1; k < scale; k++) std::memcpy(first + static_cast<size_t>(k) * out.w, first, out.w * sizeof(uint32_t));
    }
    return out;
}
