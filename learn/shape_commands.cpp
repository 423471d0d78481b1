// The pointer's shapes onto the current layer: the commit of Space, erase,
// the filled box and the ellipses on the stored box, and clearing the
// brush-sized area. Each shape is one list of rectangles, told and drawn.
#include <algorithm>

#include "../bmp/ellipse.h"
#include "layer.h"
#include "paint_gate.h"
#include "pointer.h"
#include "world.h"

namespace {

// An ellipse's rows are computed whole, so a box read from the settings
// file that is larger than any canvas draws nothing.
constexpr int kLargestEllipseSide = 1 << 16;

std::vector<Area> EllipseRects(const Area& box, bool filled) {
    std::vector<Area> rects;
    if (box.Empty() || box.w > kLargestEllipseSide || box.h > kLargestEllipseSide) return rects;
    std::vector<Span> spans = filled ? EllipseFilled(int(box.w), int(box.h)) : EllipseOutline(int(box.w), int(box.h));
    rects.reserve(spans.size());
    for (const Span& s : spans) rects.push_back({box.x + s.x0, box.y + s.y, int64_t{s.x1} - s.x0 + 1, 1});
    return rects;
}

}  // namespace

void World::Commit() {
    PaintRects(pointer->CommitShape(), pointer->colour);
    pointer->mode = 0;
}

void World::ErasePixel() { PaintRects({{pointer->x, pointer->y, 1, 1}}, ClearColour()); }

// An empty box clears nothing.
void World::ClearBrushArea() {
    Area a = pointer->BrushBox();
    if (!a.Empty()) PaintRects({a}, ClearColour());
}

void World::FillBox() {
    Area a = pointer->StoredBox();
    if (!a.Empty()) PaintRects({a}, pointer->colour);
}

void World::DrawEllipse(bool filled) { PaintRects(EllipseRects(pointer->StoredBox(), filled), pointer->colour); }
