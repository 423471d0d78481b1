// The pointer's brush: taken from a layer's box or from a surface (the text
// brush). Every replacement is a step of the editor's history.
#include <cstdio>
#include <memory>

#include "../bmp/bmp.h"
#include "layer.h"
#include "pointer.h"
#include "world.h"

namespace {

// The new brush goes through the editor, which keeps the old one for undo.
void Replace(Pointer& p, std::unique_ptr<Bmp> fresh, int w, int h) {
    if (p.world) return p.world->ReplaceBrush(p, std::move(fresh), w, h);
    p.SetBrush(fresh.release());
    p.w = w;
    p.h = h;
}

}  // namespace

// An empty box keeps the old brush, and so does a box too large to allocate.
void Pointer::Grab(const Layer& src) {
    if (w < 1 || h < 1) return;
    std::unique_ptr<Bmp> fresh = Bmp::TryCreate(w, h, "_bmp");
    if (!fresh) {
        std::printf("Grab: a %dx%d brush cannot be allocated\n", w, h);
        return;
    }
    // Allegro clips the source rectangle; parts outside src stay black.
    blit(src.Source(), fresh->GetBitmap(), bx, by, 0, 0, w, h);
    Replace(*this, std::move(fresh), w, h);
    grabX = bx;
    grabY = by;
    grabW = w;
    grabH = h;
}

void Pointer::GrabWhole(Bmp* src) {
    std::unique_ptr<Bmp> fresh = Bmp::TryCreate(src->Width(), src->Height(), "_bmp");
    if (!fresh) return;
    blit(src->GetBitmap(), fresh->GetBitmap(), 0, 0, 0, 0, src->Width(), src->Height());
    Replace(*this, std::move(fresh), src->Width(), src->Height());
}

void Pointer::SetBrush(Bmp* b) {
    delete brush;
    brush = b;
}
