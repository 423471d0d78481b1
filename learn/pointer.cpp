#include "pointer.h"

#include <algorithm>
#include <cstdlib>
#include <random>

#include "../bmp/bmp.h"
#include "../bmp/line_runs.h"

// The cursor colour: a fresh pseudo-random colour every call, so it flickers.
int RandomColour() {
    static std::minstd_rand generator(std::random_device{}());
    return makecol(generator() & 0xff, generator() & 0xff, generator() & 0xff);
}

Pointer::Pointer() = default;

Pointer::~Pointer() { delete brush; }

void Pointer::Setup(World* w, int l, int px, int py, int pbx, int pby, int pw, int ph, int pjx,
                    int pjy, int c, int cw, int m) {
    world = w;
    layer = l;
    x = px;
    y = py;
    bx = pbx;
    by = pby;
    this->w = pw;
    h = ph;
    jx = pjx;
    jy = pjy;
    mode = m;
    // The pen colour always starts orange; the stored colours are ignored.
    colour = makecol(255, 180, 0);
    wc = makecol(255, 0, 255);
    showCursor = true;
    moveBox = false;
}

void Pointer::StartBox() {
    mode = 1;
    bx = x;
    by = y;
}

void Pointer::ResumeBox() { mode = 1; }

void Pointer::Move(int dx, int dy) {
    if (mode != 1) {
        x += dx;
        y += dy;
    } else if (moveBox) {
        bx += dx;
        by += dy;
    } else {
        w = std::max(w + dx, 1);
        h = std::max(h + dy, 1);
    }
}

void Pointer::Draw(int pass, BITMAP* dest) {
    if (pass != 6 || !showCursor) return;
    int c = RandomColour();
    for (const Area& r : CommitShape()) {
        Area on = Intersection(r, {0, 0, dest->w, dest->h});
        if (!on.Empty()) rectfill(dest, int(on.x), int(on.y), int(on.Right() - 1), int(on.Bottom() - 1), c);
    }
}

// A box outline runs one pixel around the box, as its four edges, which
// share no pixel; a size below 1 from the settings swaps the corners, as
// Allegro's rect did.
std::vector<Area> Pointer::CommitShape() const {
    switch (mode) {
        case 2: return LineRuns(x, y, lineX, lineY);
        case 1: {
            int64_t left = int64_t{bx} - 1, top = int64_t{by} - 1, right = int64_t{bx} + w, bottom = int64_t{by} + h;
            if (left > right) std::swap(left, right);
            if (top > bottom) std::swap(top, bottom);
            int64_t wide = right - left + 1, inner = bottom - top - 1;
            return {{left, top, wide, 1}, {left, bottom, wide, 1}, {left, top + 1, 1, inner}, {right, top + 1, 1, inner}};
        }
        default: return {{x, y, 1, 1}};
    }
}
