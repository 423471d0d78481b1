// The pointer's brush: grabbing it from a layer, stamping it back, and
// clearing a brush-sized area.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "../all/display.h"
#include "../bmp/bmp.h"
#include "history.h"
#include "pointer.h"
#include "world.h"

// An empty box keeps the old brush, and so does a box too large to allocate.
void Pointer::Grab(Bmp* src) {
    if (w < 1 || h < 1) return;
    std::unique_ptr<Bmp> fresh = Bmp::TryCreate(w, h, "_bmp");
    if (!fresh) {
        std::printf("Grab: a %dx%d brush cannot be allocated\n", w, h);
        return;
    }
    // Allegro clips the source rectangle; parts outside src stay black.
    blit(src->GetBitmap(), fresh->GetBitmap(), bx, by, 0, 0, w, h);
    SetBrush(fresh.release());
    grabX = bx;
    grabY = by;
    grabW = w;
    grabH = h;
}

void Pointer::GrabWhole(Bmp* src) {
    std::unique_ptr<Bmp> fresh = Bmp::TryCreate(src->Width(), src->Height(), "_bmp");
    if (!fresh) return;
    blit(src->GetBitmap(), fresh->GetBitmap(), 0, 0, 0, 0, src->Width(), src->Height());
    SetBrush(fresh.release());
    w = brush->Width();
    h = brush->Height();
}

namespace {

// XORs the brush's part of the w x h box onto dest at (x, y), skipping the
// mask colour. Only the part inside the brush is touched: beyond it there
// are no brush values, and XOR twice must give the picture back.
void XorStamp(BITMAP* brush, BITMAP* dest, int x, int y, int w, int h) {
    int cols = std::min(w, brush->w);
    int rows = std::min(h, brush->h);
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    for (int j = 0; j < rows; j++) {
        for (int i = 0; i < cols; i++) {
            int c = getpixel(brush, i, j);
            if (c != display::maskColour) putpixel(dest, x + i, y + j, c);
        }
    }
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

}  // namespace

// how: 0 opaque, 1 masked, 2 XOR. The masked stamp puts the whole brush,
// the others its part inside the box.
void Pointer::Stamp(int how, Bmp* dest) {
    if (!brush) return;
    BITMAP* b = brush->GetBitmap();
    BITMAP* d = dest->GetBitmap();
    world->history->WillChange(dest, x, y, how == 1 ? b->w : std::min(w, b->w), how == 1 ? b->h : std::min(h, b->h));
    switch (how) {
        case 0: blit(b, d, 0, 0, x, y, w, h); break;
        case 1: draw_sprite(d, b, x, y); break;
        case 2: XorStamp(b, d, x, y, w, h); break;
    }
}

// An empty box clears nothing: Allegro's rectfill would otherwise swap the
// corners and clear a strip left of the pointer.
void Pointer::ClearBox(Bmp* dest) {
    if (w < 1 || h < 1) return;
    world->history->WillChange(dest, x, y, w, h);
    rectfill(dest->GetBitmap(), x, y, x + w - 1, y + h - 1, world->ClearColour());
}

void Pointer::SetBrush(Bmp* b) {
    delete brush;
    brush = b;
    brushChanges++;
}
