// The fill mode: while C is held, each press of G replaces the colour under
// the pointer by the pen colour inside the pointer's box (and, with mirror
// drawing on, the colour under each mirror image of the pointer inside the
// mirrored box).
#include <allegro.h>

#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "paint_gate.h"
#include "pointer.h"
#include "world.h"

namespace {

// A colour replacement limited to the box, not a flood fill. The target is
// read once, so the visiting order cannot change the result; outside the
// layer getpixel answers -1, which matches no colour inside it.
void ReplaceInBox(PaintGate& gate, const Layer& l, const Area& box, int64_t sx, int64_t sy, int colour) {
    int target = sx < 0 || sy < 0 || sx >= l.width || sy >= l.height ? -1 : l.Pixel(int(sx), int(sy));
    if (target < 0) return;
    PaintGate::Surface s = gate.Open(l, box);
    if (!s) return;
    const Area& c = s.Clip();
    for (int64_t y = c.y; y < c.Bottom(); y++)
        for (int64_t x = c.x; x < c.Right(); x++)
            if (getpixel(s.Bitmap(), int(x), int(y)) == target) putpixel(s.Bitmap(), int(x), int(y), colour);
}

void ReplaceWithMirrors(World& w) {
    const Pointer& p = *w.pointer;
    ReplaceInBox(*w.gate, *w.layer, p.StoredBox(), p.x, p.y, p.colour);
    MirrorAxes axes = w.Mirror();
    for (Reflection r : axes.Images())
        ReplaceInBox(*w.gate, *w.layer, axes.Reflect(p.StoredBox(), r), r.acrossX ? axes.ReflectX(p.x) : p.x,
                     r.acrossY ? axes.ReflectY(p.y) : p.y, p.colour);
}

}  // namespace

void World::ColourFill() {
    text->SetLines({"- C loop -", " ", "G - colour fill"});
    keyMan->Advance();
    do {
        if (KeyHeld(KEY_G)) {
            // Each fill is a step of its own, also several in one hold of C.
            history->Close();
            ReplaceWithMirrors(*this);
            history->Close();
            WaitKeyRelease(KEY_G);
        }
        Render();
    } while (NextModeFrame(0) && KeyHeld(KEY_C));
    text->ClearLines();
    clear_keybuf();
}
