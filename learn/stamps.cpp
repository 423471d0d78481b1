// Stamping the pointer's brush onto the current layer: opaque, masked, XOR
// and enlarged, each with its mirror images.
#include <algorithm>
#include <new>

#include "../bmp/bmp.h"
#include "../bmp/surface_size.h"
#include "layer.h"
#include "paint_gate.h"
#include "pointer.h"
#include "world.h"

void World::StampBrush(Stamping how) {
    Pointer& p = *pointer;
    if (p.brush) PaintImage(p.brush->GetBitmap(), p.x, p.y, p.w, p.h, how);
}

namespace {

// Where an enlarged stamp can show: the layer, and what mirror drawing
// reflects onto it.
Area VisibleReach(const Layer& l, const MirrorAxes& axes) {
    Area whole{0, 0, l.width, l.height}, reach = whole;
    for (Reflection r : axes.Images()) reach = Union(reach, axes.Reflect(whole, r));
    return reach;
}

}  // namespace

// Each brush pixel becomes a jx x jy block. Only the part of the box inside
// the brush is drawn: beyond it there are no brush values. The blocks are
// drawn into an image of the part that can show, stamped opaque.
void World::EnlargeStamp() {
    Pointer& p = *pointer;
    if (!p.brush || p.jx < 1 || p.jy < 1) return;
    BITMAP* b = p.brush->GetBitmap();
    int cols = std::min(p.w, b->w), rows = std::min(p.h, b->h);
    Area whole{p.x, p.y, int64_t{p.jx} * cols, int64_t{p.jy} * rows};
    Area shown = Intersection(whole, VisibleReach(*layer, Mirror()));
    if (shown.Empty() || !SurfaceSizeAllowed(shown.w, shown.h)) return;
    BITMAP* image = create_bitmap_ex(bitmap_color_depth(b), int(shown.w), int(shown.h));
    if (!image) throw std::bad_alloc();  // the key pass reports it and takes the pass back
    int64_t firstCol = (shown.x - whole.x) / p.jx, lastCol = (shown.Right() - 1 - whole.x) / p.jx;
    int64_t firstRow = (shown.y - whole.y) / p.jy, lastRow = (shown.Bottom() - 1 - whole.y) / p.jy;
    for (int64_t j = firstRow; j <= lastRow; j++) {
        for (int64_t i = firstCol; i <= lastCol; i++) {
            int64_t left = whole.x + p.jx * i - shown.x, top = whole.y + p.jy * j - shown.y;
            rectfill(image, int(std::max<int64_t>(left, 0)), int(std::max<int64_t>(top, 0)),
                     int(std::min(left + p.jx, shown.w) - 1), int(std::min(top + p.jy, shown.h) - 1),
                     getpixel(b, int(i), int(j)));
        }
    }
    PaintImage(image, shown.x, shown.y, image->w, image->h, Stamping::Opaque);
    destroy_bitmap(image);
}
