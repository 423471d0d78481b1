#include "compose.h"

#include "layer.h"

void ComposeLayers(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest, int x, int y) {
    if (from.Empty()) return;
    Area onDest = Intersection({x, y, from.w, from.h}, {0, 0, dest->w, dest->h});
    if (onDest.Empty()) return;
    rectfill(dest, int(onDest.x), int(onDest.y), int(onDest.Right() - 1), int(onDest.Bottom() - 1), 0);
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

// One pixel of the same composition, so the status line agrees with the view.
int ComposedColour(const std::vector<Layer*>& layers, int x, int y) {
    static BITMAP* pixel = create_bitmap(1, 1);
    if (!pixel) return 0;
    ComposeLayers(layers, {x, y, 1, 1}, pixel, 0, 0);
    return getpixel(pixel, 0, 0);
}
