// Drawing onto the current layer through the paint gate, with the mirror
// images that mirror drawing adds, all in the same step of the history.
#include <memory>
#include <new>

#include "../bmp/bitmap_grid.h"
#include "../bmp/brush_turns.h"
#include "layer.h"
#include "paint_gate.h"
#include "world.h"

namespace {

// A copy of the w x h part of image at (sx, sy), reflected as asked; null
// when it cannot be allocated.
BITMAP* ReflectedCopy(BITMAP* image, int sx, int sy, int w, int h, Reflection r) {
    BITMAP* copy = create_bitmap_ex(bitmap_color_depth(image), w, h);
    if (!copy) return nullptr;
    blit(image, copy, sx, sy, 0, 0, w, h);
    if (r.acrossX) FlipLeftRight(GridOf(copy));
    if (r.acrossY) FlipTopBottom(GridOf(copy));
    return copy;
}

}  // namespace

void World::PaintRects(const std::vector<Area>& rects, int colour) {
    gate->FillRects(*layer, rects, colour);
    MirrorAxes axes = Mirror();
    for (Reflection r : axes.Images()) {
        std::vector<Area> image;
        image.reserve(rects.size());
        for (const Area& a : rects) image.push_back(axes.Reflect(a, r));
        gate->FillRects(*layer, image, colour);
    }
}

void World::PaintImage(BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how) {
    gate->PutImage(*layer, image, x, y, w, h, how);
    MirrorAxes axes = Mirror();
    Area part = StampedArea(image, x, y, w, h, how);
    if (part.Empty()) return;
    for (Reflection r : axes.Images()) {
        BITMAP* copy = ReflectedCopy(image, 0, 0, int(part.w), int(part.h), r);
        if (!copy) throw std::bad_alloc();  // the key pass reports it and takes the pass back
        Area to = axes.Reflect(part, r);
        gate->PutImage(*layer, copy, to.x, to.y, copy->w, copy->h, how);
        destroy_bitmap(copy);
    }
}

MirrorAxes World::Mirror() const {
    MirrorAxes axes;
    axes.mode = mirrorMode;
    // Unless set with Shift+M, the axes run through the canvas middle and
    // follow a resize.
    axes.sumX = mirrorSumX.value_or(int64_t{layer->width} - 1);
    axes.sumY = mirrorSumY.value_or(int64_t{layer->height} - 1);
    return axes;
}
