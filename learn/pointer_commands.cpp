// The editor's commands on the current pointer: committing, cancelling and
// chaining shapes, the enlarged stamp and the pointer-choosing mode.
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

void World::Commit() {
    pointer->ReportShape(layer->bmp);
    pointer->Draw(5, layer->bmp->GetBitmap());
    pointer->mode = 0;
}

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

// Each brush pixel becomes a jx x jy block. Only the part of the box inside
// the brush is drawn: beyond it there are no brush values.
void World::EnlargeStamp() {
    Pointer* p = pointer;
    if (!p->brush || p->jx < 1 || p->jy < 1) return;
    BITMAP* b = p->brush->GetBitmap();
    BITMAP* d = layer->bmp->GetBitmap();
    int cols = std::min(p->w, b->w);
    int rows = std::min(p->h, b->h);
    history->WillChange(layer->bmp, p->x, p->y, int64_t{p->jx} * cols, int64_t{p->jy} * rows);
    for (int j = 0; j < rows; j++) {
        for (int i = 0; i < cols; i++) {
            int left = p->x + p->jx * i;
            int top = p->y + p->jy * j;
            rectfill(d, left, top, left + p->jx - 1, top + p->jy - 1, getpixel(b, i, j));
        }
    }
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
