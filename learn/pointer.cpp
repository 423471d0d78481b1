#include "pointer.h"

#include <algorithm>
#include <cstdlib>
#include <random>

#include "../bmp/bmp.h"
#include "history.h"
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

namespace {

// A line is reported in pieces of 32 steps along its longer axis, each as
// wide as the line can be there, so a long diagonal costs its length rather
// than the square it spans. The pieces never overlap, so they stay apart.
void ReportLine(History& h, Bmp* dest, int x0, int y0, int x1, int y1) {
    bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    int64_t a0 = steep ? y0 : x0, a1 = steep ? y1 : x1, b0 = steep ? x0 : y0, b1 = steep ? x1 : y1;
    if (a0 > a1) std::swap(a0, a1), std::swap(b0, b1);
    for (int64_t a = a0; a <= a1; a += 32) {
        int64_t end = std::min(a + 31, a1);
        int64_t from = b0 + (a - a0) * (b1 - b0) / std::max<int64_t>(a1 - a0, 1);
        int64_t to = b0 + (end - a0) * (b1 - b0) / std::max<int64_t>(a1 - a0, 1);
        int64_t low = std::max(std::min(from, to) - 1, std::min(b0, b1));
        int64_t high = std::min(std::max(from, to) + 1, std::max(b0, b1));
        if (steep)
            h.WillChange(dest, low, a, high - low + 1, end - a + 1);
        else
            h.WillChange(dest, a, low, end - a + 1, high - low + 1);
    }
}

}  // namespace

// A box outline is reported as its four edges, which share no pixel.
void Pointer::ReportShape(Bmp* dest) {
    History& hist = *world->history;
    int64_t left = int64_t{bx} - 1, top = int64_t{by} - 1, right = int64_t{bx} + w, bottom = int64_t{by} + h;
    // A size below 1 from the settings: Allegro's rect swaps the corners.
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    switch (mode) {
        case 2:
            ReportLine(hist, dest, x, y, lineX, lineY);
            break;
        case 1:
            hist.WillChange(dest, left, top, right - left + 1, 1);
            hist.WillChange(dest, left, bottom, right - left + 1, 1);
            hist.WillChange(dest, left, top + 1, 1, bottom - top - 1);
            hist.WillChange(dest, right, top + 1, 1, bottom - top - 1);
            break;
        default:
            hist.WillChange(dest, x, y, 1, 1);
    }
}
