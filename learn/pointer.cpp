#include "pointer.h"

#include <algorithm>
#include <cstdlib>
#include <random>

#include "../bmp/bmp.h"
#include "world.h"

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

// Pass 5 commits the current shape, pass 6 draws the flickering cursor.
void Pointer::Draw(int pass, BITMAP* dest) {
    if (pass == 6 && !showCursor) return;
    int c = pass == 5 ? colour : RandomColour();
    switch (mode) {
        case 0:
            putpixel(dest, x, y, c);
            break;
        case 2:
            line(dest, x, y, lineX, lineY, c);
            break;
        case 1:
            rect(dest, bx - 1, by - 1, bx + w, by + h, c);
            break;
    }
}

void Pointer::ShapeBounds(int64_t& sx, int64_t& sy, int64_t& sw, int64_t& sh) {
    switch (mode) {
        case 2:
            sx = std::min(x, lineX), sy = std::min(y, lineY);
            sw = std::abs(int64_t{x} - lineX) + 1, sh = std::abs(int64_t{y} - lineY) + 1;
            break;
        case 1:
            sx = int64_t{bx} - 1, sy = int64_t{by} - 1, sw = int64_t{w} + 2, sh = int64_t{h} + 2;
            break;
        default:
            sx = x, sy = y, sw = 1, sh = 1;
    }
}
