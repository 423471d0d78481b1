// Mirror drawing: M cycles the axes off, vertical, horizontal, both; Shift+M
// puts them through the pointer pixel's centre.
#include <algorithm>

#include "layer.h"
#include "lens.h"
#include "pointer.h"
#include "world.h"

void World::CycleMirror() { mirrorMode = NextMirrorMode(mirrorMode); }

void World::MirrorAtPointer() {
    mirrorSumX = 2 * int64_t{pointer->x};
    mirrorSumY = 2 * int64_t{pointer->y};
}

namespace {

// Where an axis of sum s lies on the screen: picture x = s / 2 is a pixel's
// centre for an even sum and the boundary between two pixels for an odd one.
int64_t AxisOnScreen(int64_t sum, int lensAt, int mag) { return (sum + 1) * mag / 2 - int64_t{lensAt} * mag; }

// Dashes of two colours, so the axis shows on every picture colour.
void DashedLine(BITMAP* dest, bool vertical, int64_t at) {
    int length = vertical ? dest->h : dest->w;
    if (at < 0 || at >= (vertical ? dest->w : dest->h)) return;
    for (int from = 0; from < length; from += 8) {
        int colour = (from / 8) % 2 ? makecol(255, 255, 255) : makecol(0, 160, 255);
        int to = std::min(from + 7, length - 1);
        if (vertical)
            vline(dest, int(at), from, to, colour);
        else
            hline(dest, from, int(at), to, colour);
    }
}

}  // namespace

void World::DrawMirrorAxes(BITMAP* dest) {
    MirrorAxes axes = Mirror();
    for (Reflection r : axes.Images()) {
        if (r.acrossX && !r.acrossY) DashedLine(dest, true, AxisOnScreen(axes.sumX, lens->x, lens->mag));
        if (r.acrossY && !r.acrossX) DashedLine(dest, false, AxisOnScreen(axes.sumY, lens->y, lens->mag));
    }
}
