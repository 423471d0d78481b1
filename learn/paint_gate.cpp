#include "paint_gate.h"

#include <algorithm>

#include "../all/display.h"
#include "../all/endings.h"
#include "../bmp/flood_fill.h"
#include "../bmp/bitmap_grid.h"
#include "history.h"

namespace {

Area LayerArea(const Layer& l) { return {0, 0, l.width, l.height}; }

int64_t Pixels(const Area& a) { return a.Empty() ? 0 : a.w * a.h; }

// Rectangles are told together while the bounds of the group hold at most
// twice their pixels (and a little slack for small shapes).
std::vector<std::pair<size_t, size_t>> Pieces(const std::vector<Area>& rects) {
    std::vector<std::pair<size_t, size_t>> pieces;
    Area bounds;
    int64_t pixels = 0;
    for (size_t i = 0; i < rects.size(); i++) {
        Area grown = Union(bounds, rects[i]);
        int64_t more = pixels + Pixels(rects[i]);
        if (!pieces.empty() && Pixels(grown) <= 2 * more + 64) {
            pieces.back().second = i + 1;
            bounds = grown;
            pixels = more;
        } else {
            pieces.push_back({i, i + 1});
            bounds = rects[i];
            pixels = Pixels(rects[i]);
        }
    }
    return pieces;
}

// XORs the image's w x h part onto dest at (x, y), skipping the mask
// colour, so that the same stamp twice gives the picture back.
void XorImage(BITMAP* image, BITMAP* dest, int x, int y, int w, int h) {
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    for (int j = 0; j < h; j++) {
        for (int i = 0; i < w; i++) {
            int c = getpixel(image, i, j);
            if (c != display::maskColour) putpixel(dest, x + i, y + j, c);
        }
    }
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

}  // namespace

PaintGate::Surface::Surface(BITMAP* b, const Area& c) : bitmap(b), clip(c) {
    if (bitmap) set_clip_rect(bitmap, int(clip.x), int(clip.y), int(clip.Right() - 1), int(clip.Bottom() - 1));
}

PaintGate::Surface::~Surface() {
    if (bitmap) set_clip_rect(bitmap, 0, 0, bitmap->w - 1, bitmap->h - 1);
}

PaintGate::Surface PaintGate::Open(const Layer& layer, const Area& area) {
    // Between two changes the document is whole: when the X connection is
    // gone, this is where a busy key pass saves it and ends.
    EndHereIfConnectionLost();
    Area clip = Intersection(area, LayerArea(layer));
    if (clip.Empty()) return Surface(nullptr, clip);
    if (watch) watch(layer, clip);
    history.WillChange(&layer, clip.x, clip.y, clip.w, clip.h);
    return Surface(layer.Surface(key), clip);
}

void PaintGate::FillRects(const Layer& layer, const std::vector<Area>& rects, int colour) {
    for (auto [first, end] : Pieces(rects)) {
        Area bounds;
        for (size_t i = first; i < end; i++) bounds = Union(bounds, rects[i]);
        Surface s = Open(layer, bounds);
        if (!s) continue;
        for (size_t i = first; i < end; i++) {
            Area r = Intersection(rects[i], s.Clip());
            if (!r.Empty()) rectfill(s.Bitmap(), int(r.x), int(r.y), int(r.Right() - 1), int(r.Bottom() - 1), colour);
        }
    }
}

Area StampedArea(BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how) {
    if (how == Stamping::Masked) return {x, y, image->w, image->h};
    return {x, y, std::min(w, image->w), std::min(h, image->h)};
}

void PaintGate::PutImage(const Layer& layer, BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how) {
    Area a = StampedArea(image, x, y, w, h, how);
    if (a.Empty()) return;
    Surface s = Open(layer, a);
    if (!s) return;
    // The image's offset from the clip, so Allegro only ever sees
    // coordinates on the layer, whatever the 64-bit position.
    int sx = int(s.Clip().x - x), sy = int(s.Clip().y - y);
    int cw = int(s.Clip().w), ch = int(s.Clip().h);
    int dx = int(s.Clip().x), dy = int(s.Clip().y);
    switch (how) {
        case Stamping::Opaque: blit(image, s.Bitmap(), sx, sy, dx, dy, cw, ch); break;
        case Stamping::Masked: masked_blit(image, s.Bitmap(), sx, sy, dx, dy, cw, ch); break;
        case Stamping::Xor: {
            BITMAP* part = create_sub_bitmap(image, sx, sy, cw, ch);
            if (!part) return;
            XorImage(part, s.Bitmap(), dx, dy, cw, ch);
            destroy_bitmap(part);
            break;
        }
    }
}

void PaintGate::FillMarked(const Layer& layer, const FillMarks& marks, int colour) {
    PixelRect b = marks.Bounds();
    if (b.w < 1 || b.h < 1) return;
    Surface s = Open(layer, {b.x, b.y, b.w, b.h});
    if (!s) return;
    WriteMarked(GridOf(s.Bitmap()), marks, static_cast<uint32_t>(colour));
}
