#include "lens.h"

#include <algorithm>
#include <cstdint>

#include "../bmp/bmp.h"
#include "../varshim/varshim.h"
#include "layer.h"
#include "pointer.h"
#include "world.h"

namespace {
int Grey() { return makecol(128, 128, 128); }
}  // namespace

Lens::Lens(int m, int lx, int ly, int screenW, int screenH) : mag(m), x(lx), y(ly) {
    view = new Bmp(1, 1, "lens bmp");
    SetArea(screenW, screenH);
}

Lens::~Lens() { delete view; }

void Lens::SetArea(int w, int h) {
    areaW = std::max(w, 1);
    areaH = std::max(h, 1);
    Fit();
}

int Lens::MaxMag() const { return std::min(areaW, areaH); }
int Lens::ViewW() const { return view->Width(); }
int Lens::ViewH() const { return view->Height(); }

void Lens::Zoom(int d) {
    mag += d;
    Fit();
}

// A magnification below 1 would divide by zero, one beyond the screen's
// smaller side would leave an empty window: both are brought back in range.
void Lens::Fit() {
    mag = std::clamp(mag, 1, MaxMag());
    view->StretchTo(areaW / mag, areaH / mag);
}

int Lens::FittingMag(int w, int h) const {
    return std::clamp(std::min(areaW / std::max(w, 1), areaH / std::max(h, 1)), 1, MaxMag());
}

void Lens::KeepInView(int px, int py) {
    x = std::clamp(x, px - ViewW() + 1, px);
    y = std::clamp(y, py - ViewH() + 1, py);
}

void Lens::Pan(int dx, int dy) {
    x += dx;
    y += dy;
}

void Lens::Show(Bmp* src, Bmp* dest) {
    BITMAP* window = view->GetBitmap();
    BITMAP* picture = src->GetBitmap();
    clear_to_color(window, Grey());
    // Only the part of the picture inside the window is copied, found in 64
    // bits: the position may lie anywhere, and Allegro's own clipping
    // overflows an int for positions near its limits.
    int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t(x) + window->w, picture->w);
    int64_t bottom = std::min<int64_t>(int64_t(y) + window->h, picture->h);
    if (right > left && bottom > top)
        blit(picture, window, static_cast<int>(left), static_cast<int>(top), static_cast<int>(left - x),
             static_cast<int>(top - y), static_cast<int>(right - left), static_cast<int>(bottom - top));
    // A whole multiple of the window, so every picture pixel is exactly
    // mag x mag: stretching over the whole area would widen some of them.
    BITMAP* out = dest->GetBitmap();
    int shownW = window->w * mag, shownH = window->h * mag;
    stretch_blit(window, out, 0, 0, window->w, window->h, 0, 0, shownW, shownH);
    // Allegro's rectfill swaps reversed corners, so empty strips are skipped.
    if (shownW < areaW) rectfill(out, shownW, 0, areaW - 1, areaH - 1, Grey());
    if (shownH < areaH) rectfill(out, 0, shownH, shownW - 1, areaH - 1, Grey());
}

// Lens pan mode: while Z is held the arrows pan with a growing step, ENTER
// brings view and pointer back to the picture's top-left corner. A frame
// every 50 ms while an arrow is held, else none until a key changes.
void World::PanLens() {
    int stepH = 0, stepV = 0;
    bool moving = false;
    do {
        bool left = KeyHeld(KEY_LEFT), right = KeyHeld(KEY_RIGHT);
        bool up = KeyHeld(KEY_UP), down = KeyHeld(KEY_DOWN);
        if (left) lens->Pan(-stepH, 0);
        if (right) lens->Pan(stepH, 0);
        if (up) lens->Pan(0, -stepV);
        if (down) lens->Pan(0, stepV);
        stepH = (left || right) ? stepH + 1 : 1;
        stepV = (up || down) ? stepV + 1 : 1;
        if (KeyHeld(KEY_ENTER)) {
            lens->x = lens->y = 0;
            pointer->x = pointer->y = 0;
        }
        moving = left || right || up || down;
        Render();
    } while (NextModeFrame(moving ? 50 : 0) && KeyHeld(KEY_Z));
    clear_keybuf();
}

// The zoom presets: a magnification (capped by Fit) with the pointer kept in
// view, or (0) the largest at which the whole canvas shows from its corner.
void World::ZoomPreset(int mag) {
    if (mag == 0) {
        lens->mag = lens->FittingMag(layer->width, layer->height);
        lens->x = lens->y = 0;
        lens->Fit();
        return;
    }
    lens->mag = mag;
    lens->Fit();
    lens->KeepInView(pointer->x, pointer->y);
}
