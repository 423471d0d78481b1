#include "pointer.h"

#include <algorithm>
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
            if (pass == 5) world->Undo(0);
            line(dest, x, y, lineX, lineY, c);
            break;
        case 1:
            if (pass == 5) world->Undo(0);
            rect(dest, bx - 1, by - 1, bx + w, by + h, c);
            break;
    }
}
