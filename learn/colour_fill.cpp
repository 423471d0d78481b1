// The fill mode: while C is held, each press of G replaces the colour under
// the pointer by the pen colour inside the pointer's box.
#include <allegro.h>

#include "../bmp/bmp.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "pointer.h"
#include "world.h"

namespace {

// A colour replacement limited to the box, not a flood fill. The target is
// read once, so the visiting order cannot change the result; outside the
// layer getpixel answers -1, which matches no colour inside it.
void ReplaceInBox(BITMAP* b, const Pointer& p) {
    int target = getpixel(b, p.x, p.y);
    for (int y = p.by; y < p.by + p.h; y++)
        for (int x = p.bx; x < p.bx + p.w; x++)
            if (getpixel(b, x, y) == target) putpixel(b, x, y, p.colour);
}

}  // namespace

void World::ColourFill() {
    text->SetLines({"- C loop -", " ", "G - colour fill"});
    keyMan->Advance();
    do {
        if (KeyHeld(KEY_G)) {
            // Each fill is a step of its own, also several in one hold of C.
            history->Close();
            history->WillChange(layer->bmp, pointer->bx, pointer->by, pointer->w, pointer->h);
            ReplaceInBox(layer->bmp->GetBitmap(), *pointer);
            history->Close();
            WaitKeyRelease(KEY_G);
        }
        Render();
    } while (NextModeFrame(0) && KeyHeld(KEY_C));
    text->ClearLines();
    clear_keybuf();
}
