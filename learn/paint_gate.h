#pragma once
#include <allegro.h>

#include <functional>
#include <vector>

#include "../bmp/area.h"
#include "layer.h"

class History;
class FillMarks;

// How an image goes onto a layer.
enum class Stamping { Opaque, Masked, Xor };

// The one way to change a layer's pixels: the area about to change is told
// to the history first, then the surface is handed out with Allegro's clip
// rectangle set to that area, so nothing drawn can reach beyond what the
// history saved. The shapes below each give their own rectangles, and the
// same rectangles are told and drawn, so the two cannot differ.
class PaintGate {
public:
    explicit PaintGate(History& history) : history(history) {}
    PaintGate(const PaintGate&) = delete;
    PaintGate& operator=(const PaintGate&) = delete;

    // A layer's surface for one change; the whole layer's clip comes back
    // when it ends. Empty when nothing of the area lies on the layer.
    class Surface {
    public:
        Surface(Surface&& o) noexcept : bitmap(o.bitmap), clip(o.clip) { o.bitmap = nullptr; }
        Surface& operator=(Surface&&) = delete;
        ~Surface();
        BITMAP* Bitmap() const { return bitmap; }
        explicit operator bool() const { return bitmap != nullptr; }
        // The part of the area told that lies on the layer.
        const Area& Clip() const { return clip; }

    private:
        friend class PaintGate;
        Surface(BITMAP* b, const Area& clip);
        BITMAP* bitmap;
        Area clip;
    };

    // Tells the history that `area` of `layer` is about to change, then
    // hands out the surface.
    Surface Open(const Layer& layer, const Area& area);

    // Rectangles of one colour. Neighbours in the list are told together
    // while their bounds stay close to their pixels, so a long diagonal
    // costs its length, not the square it spans.
    void FillRects(const Layer& layer, const std::vector<Area>& rects, int colour);
    // An image with its top left at (x, y): the w x h part of it opaque or
    // XOR (only what lies inside the image), or the whole image masked.
    void PutImage(const Layer& layer, BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how);
    // Every marked pixel becomes `colour`; the marks' bounds are told once.
    void FillMarked(const Layer& layer, const FillMarks& marks, int colour);

    // Sees every area told before its surface is handed out (tests check
    // that every changed pixel lies inside one).
    std::function<void(const Layer&, const Area&)> watch;

private:
    History& history;
    PaintKey key;
};

// The part of an image `how` puts down: the whole image when masked, else
// the w x h part of it that lies inside the image.
Area StampedArea(BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how);
