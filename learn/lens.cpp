#include "lens.h"

#include <algorithm>

#include "../bmp/bmp.h"
#include "../varshim/varshim.h"
#include "pointer.h"
#include "world.h"

Lens::Lens(int m, int lx, int ly, int sw, int sh)
    : mag(m), x(lx), y(ly), screenW(std::max(sw, 1)), screenH(std::max(sh, 1)) {
    view = new Bmp(screenW, screenH, "lens bmp");
    Fit();
}

Lens::~Lens() { delete view; }

int Lens::MaxMag() const { return std::min(screenW, screenH); }
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
    view->StretchTo(screenW / mag, screenH / mag);
}

void Lens::Pan(int dx, int dy) {
    x += dx;
    y += dy;
}

void Lens::Show(Bmp* src, Bmp* dest) {
    BITMAP* window = view->GetBitmap();
    clear_to_color(window, makecol(128, 128, 128));
    blit(src->GetBitmap(), window, x, y, 0, 0, window->w, window->h);
    stretch_blit(window, dest->GetBitmap(), 0, 0, window->w, window->h, 0, 0, screenW, screenH);
}

// Lens pan mode: while Z is held the arrows pan with a growing step, ENTER
// brings view and pointer back to the picture's top-left corner.
void World::PanLens() {
    int stepH = 0, stepV = 0;
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
        Render();
        rest(50);
    } while (KeyHeld(KEY_Z));
    clear_keybuf();
}
