#pragma once
#include <allegro.h>

#include <memory>

class Bmp;
class World;

// Only the paint gate and the undo history write a layer's pixels; they
// alone can make this key, which Layer::Surface asks for.
class PaintKey {
    PaintKey() = default;
    friend class PaintGate;
    friend class History;
};

// One layer of the picture: opaque (mode 0) or transparent (mode 1, whose
// mask-colour pixels let the layers below show through). Anyone may read
// it; writing goes through the paint gate, which tells the history first.
class Layer {
public:
    Layer(World* world, int width, int height, int mode);
    // Takes an already allocated surface whose pixels are set (a loaded
    // document, a resized canvas), so nothing is allocated after validation.
    Layer(World* world, Bmp* bmp, int mode);
    virtual ~Layer();

    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // 0 for an opaque layer, the mask colour for a transparent one.
    virtual int ClearColour() const;

    // Reading. Allegro's read functions (getpixel, the source of a blit)
    // take a non-const BITMAP*; Source hands them one to read from.
    BITMAP* Source() const;
    // The pixel at (x, y), -1 outside the layer (as getpixel answers).
    int Pixel(int x, int y) const;
    int Depth() const;
    // Writing, for the holders of the key.
    BITMAP* Surface(const PaintKey&) const;

    int width;
    int height;
    int mode;
    // Left out of everything composed (the view, saves, the status line);
    // commands act on a hidden layer as on any other.
    bool hidden = false;
    World* world;

private:
    std::unique_ptr<Bmp> bmp;
    // Tests set up pictures directly (tests/test_support.h).
    friend struct LayerTestAccess;
};
