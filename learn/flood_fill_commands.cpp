// F fills the 4-connected area of the colour under the pointer with the pen
// colour; Shift+F recolours every pixel of that colour in the layer. With
// mirror drawing on, a second fill starts at each mirror image of the
// pointer. Each fill marks its pixels first (reading only), then tells the
// gate its bounds once and writes.
#include "../bmp/bitmap_grid.h"
#include "../bmp/flood_fill.h"
#include "layer.h"
#include "paint_gate.h"
#include "pointer.h"
#include "world.h"

namespace {

using Marker = FillMarks (*)(const Layer& l, int x, int y);

FillMarks MarkAreaAt(const Layer& l, int x, int y) { return MarkArea(GridOf(l.Source()), x, y); }

FillMarks MarkColourAt(const Layer& l, int x, int y) {
    int c = l.Pixel(x, y);
    if (c < 0) return FillMarks();
    return MarkColour(GridOf(l.Source()), static_cast<uint32_t>(c));
}

// A seed off the layer, or on a pixel already of the pen colour, changes
// nothing and costs no marking pass.
void FillFrom(World& w, Marker mark, int64_t x, int64_t y) {
    const Layer& l = *w.layer;
    if (x < 0 || y < 0 || x >= l.width || y >= l.height) return;
    if (l.Pixel(int(x), int(y)) == w.pointer->colour) return;
    w.gate->FillMarked(l, mark(l, int(x), int(y)), w.pointer->colour);
}

void FillWithMirrors(World& w, Marker mark) {
    FillFrom(w, mark, w.pointer->x, w.pointer->y);
    MirrorAxes axes = w.Mirror();
    for (Reflection r : axes.Images())
        FillFrom(w, mark, r.acrossX ? axes.ReflectX(w.pointer->x) : w.pointer->x,
                 r.acrossY ? axes.ReflectY(w.pointer->y) : w.pointer->y);
}

}  // namespace

void World::FloodFill() { FillWithMirrors(*this, MarkAreaAt); }

void World::RecolourLayer() { FillWithMirrors(*this, MarkColourAt); }
