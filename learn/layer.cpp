#include "layer.h"

#include <new>

#include "../all/display.h"
#include "../bmp/bmp.h"

Layer::Layer(World* w, int wd, int ht, int m) : width(wd), height(ht), mode(m), world(w) {
    // A layer smaller than the canvas would break the document: a size
    // that cannot be had ends the command that asked for it (the key pass
    // reports it and takes the pass back).
    bmp = Bmp::TryCreate(wd, ht, "_layer");
    if (!bmp) throw std::bad_alloc();
    width = bmp->Width();
    height = bmp->Height();
    if (mode == 1) clear_to_color(bmp->GetBitmap(), makecol(255, 0, 255));
}

Layer::Layer(World* w, Bmp* b, int m) : width(b->Width()), height(b->Height()), mode(m), world(w), bmp(b) {}

Layer::~Layer() = default;

int Layer::ClearColour() const { return mode == 0 ? 0 : makecol(255, 0, 255); }

BITMAP* Layer::Source() const { return bmp->GetBitmap(); }

int Layer::Pixel(int x, int y) const { return getpixel(Source(), x, y); }

int Layer::Depth() const { return bitmap_color_depth(Source()); }

BITMAP* Layer::Surface(const PaintKey&) const { return bmp->GetBitmap(); }
