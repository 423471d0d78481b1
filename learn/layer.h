#pragma once
#include <allegro.h>

class Bmp;
class World;

// One layer of the picture: opaque (mode 0) or transparent (mode 1, whose
// mask-colour pixels let the layers below show through).
class Layer {
public:
    Layer(World* world, int width, int height, int mode);
    // Takes an already allocated surface (used when a loaded document is
    // swapped in, so that nothing is allocated after validation).
    Layer(World* world, Bmp* bmp, int mode);
    virtual ~Layer();

    virtual void DrawRegion(BITMAP* dest, int sx, int sy, int w, int h);
    virtual void DrawLayer(BITMAP* dest);
    // The part (sx, sy, w, h) of the layer drawn at the same place of dest.
    virtual void DrawArea(BITMAP* dest, int sx, int sy, int w, int h);
    // 0 for an opaque layer, the mask colour for a transparent one.
    virtual int ClearColour();

    int width;
    int height;
    int mode;
    Bmp* bmp;
    World* world;
};
