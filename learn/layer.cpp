#include "layer.h"

#include "../all/display.h"
#include "../bmp/bmp.h"

Layer::Layer(World* w, int wd, int ht, int m) : width(wd), height(ht), mode(m), world(w) {
    bmp = new Bmp(wd, ht, "_layer");
    width = bmp->Width();
    height = bmp->Height();
    if (mode == 1) clear_to_color(bmp->GetBitmap(), makecol(255, 0, 255));
}

Layer::Layer(World* w, Bmp* b, int m)
    : width(b->Width()), height(b->Height()), mode(m), bmp(b), world(w) {}

Layer::~Layer() { delete bmp; }

void Layer::DrawRegion(BITMAP* dest, int sx, int sy, int w, int h) {
    if (mode == 0)
        blit(bmp->GetBitmap(), dest, sx, sy, 0, 0, w, h);
    else
        masked_blit(bmp->GetBitmap(), dest, sx, sy, 0, 0, w, h);
}

void Layer::DrawLayer(BITMAP* dest) {
    if (mode == 0)
        blit(bmp->GetBitmap(), dest, 0, 0, 0, 0, bmp->Width(), bmp->Height());
    else
        draw_sprite(dest, bmp->GetBitmap(), 0, 0);
}

void Layer::DrawArea(BITMAP* dest, int sx, int sy, int w, int h) {
    if (mode == 0)
        blit(bmp->GetBitmap(), dest, sx, sy, sx, sy, w, h);
    else
        masked_blit(bmp->GetBitmap(), dest, sx, sy, sx, sy, w, h);
}

int Layer::ClearColour() { return mode == 0 ? 0 : makecol(255, 0, 255); }
