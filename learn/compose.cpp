#include "compose.h"

#include "layer.h"

namespace {

// Where nothing covers a pixel of the picture when composing for a save: no
// layer pixel has this value, since loaders and drawing leave the top byte 0.
const uint32_t kUncovered = 0xff000000u;

// Composes with black outside the picture and `inside` under the layers
// within it.
void Compose(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest, int x, int y, int inside) {
    if (from.Empty()) return;
    Area onDest = Intersection({x, y, from.w, from.h}, {0, 0, dest->w, dest->h});
    if (onDest.Empty()) return;
    rectfill(dest, int(onDest.x), int(onDest.y), int(onDest.Right() - 1), int(onDest.Bottom() - 1), 0);
    if (inside != 0) {
        for (const Layer* l : layers) {
            Area part = Intersection(from, {0, 0, l->width, l->height});
            Area at = Intersection({x + part.x - from.x, y + part.y - from.y, part.w, part.h}, onDest);
            if (!at.Empty())
                rectfill(dest, int(at.x), int(at.y), int(at.Right() - 1), int(at.Bottom() - 1), inside);
        }
    }
    for (const Layer* l : layers) {
        if (l->hidden) continue;
        // The part of the area on this layer, and where it lands.
        Area part = Intersection(from, {0, 0, l->width, l->height});
        if (part.Empty()) continue;
        int sx = int(part.x), sy = int(part.y), dx = int(x + part.x - from.x), dy = int(y + part.y - from.y);
        if (l->mode == 0)
            blit(l->Source(), dest, sx, sy, dx, dy, int(part.w), int(part.h));
        else
            masked_blit(l->Source(), dest, sx, sy, dx, dy, int(part.w), int(part.h));
    }
}

}  // namespace

void ComposeLayers(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest, int x, int y) {
    Compose(layers, from, dest, x, y, 0);
}

int64_t ComposeWithAlpha(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest) {
    if (bitmap_color_depth(dest) != 32 || !is_memory_bitmap(dest)) {
        ComposeLayers(layers, from, dest, 0, 0);
        return 0;
    }
    Compose(layers, from, dest, 0, 0, static_cast<int>(kUncovered));
    const uint32_t opaque = uint32_t{0xff} << _rgb_a_shift_32;
    int64_t clear = 0;
    for (int y = 0; y < dest->h; y++) {
        uint32_t* line = reinterpret_cast<uint32_t*>(dest->line[y]);
        for (int x = 0; x < dest->w; x++) {
            uint32_t c = line[x];
            clear += c == kUncovered;
            line[x] = c == kUncovered ? 0 : c | opaque;
        }
    }
    return clear;
}

// One pixel of the same composition, so the status line agrees with the view.
int ComposedColour(const std::vector<Layer*>& layers, int x, int y) {
    static BITMAP* pixel = create_bitmap(1, 1);
    if (!pixel) return 0;
    ComposeLayers(layers, {x, y, 1, 1}, pixel, 0, 0);
    return getpixel(pixel, 0, 0);
}
