// The editor's commands on the current pointer: cancelling and chaining
// shapes, and the pointer-choosing mode.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../bmp/bmp.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "pointer.h"
#include "world.h"

void World::Cancel() {
    Pointer* p = pointer;
    if (p->mode == 1) {
        p->bx = p->grabX;
        p->by = p->grabY;
        p->w = p->grabW;
        p->h = p->grabH;
    }
    p->mode = 0;
}

// In line mode the pending line is drawn first, so repeated presses chain
// connected segments.
void World::LineTo() {
    if (pointer->mode == 2) Commit();
    pointer->mode = 2;
    pointer->lineX = pointer->x;
    pointer->lineY = pointer->y;
}

namespace {
std::string Format(const char* format, int a, int b = 0) {
    char line[80];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}
}  // namespace

void World::PickPointer() {
    std::vector<std::string> lines = {"- Pick Pointer -", " ", "Key pad keys 0-9", " ",
                                      Format("Current Pointer %d", spointer)};
    text->SetLines(lines);
    do {
        for (int k = KEY_0_PAD; k <= KEY_9_PAD; k++) {
            if (!keyMan->Check(KEY_P, k, "")) continue;
            spointer = k - KEY_0_PAD;
            pointer = pointers[spointer];
            SelectLayer(pointer->layer);
            lines.push_back(Format("Pointer %d Selected on Layer %d", spointer, pointer->layer));
            text->SetLines(lines);
            WaitKeyRelease(k);
        }
        Render();
    } while (NextModeFrame(0) && KeyHeld(KEY_P));
    text->ClearLines();
    clear_keybuf();
}
