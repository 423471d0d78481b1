#include "teleport.h"

#include <allegro.h>

#include "../bmp/bmp.h"

Teleport::Teleport(int tx, int ty, int tjx, int tjy) : x(tx), y(ty), jtx(tjx), jty(tjy) {}

void Teleport::Move(int which, int dx, int dy) {
    int& px = which == 0 ? x : jtx;
    int& py = which == 0 ? y : jty;
    px += dx;
    py += dy;
}

void Teleport::Apply(int& px, int& py) {
    if (px != x || py != y) return;
    px = jtx;
    py = jty;
}

void Teleport::Draw(Bmp* dest) {
    BITMAP* b = dest->GetBitmap();
    int white = makecol(255, 255, 255);
    // XOR keeps the marks visible on any colour and lets a second draw undo
    // the first.
    drawing_mode(DRAW_MODE_XOR, nullptr, 0, 0);
    line(b, x, y, jtx, jty, white);
    line(b, jtx - 2, jty - 2, jtx + 2, jty + 2, white);
    line(b, jtx + 2, jty - 2, jtx - 2, jty + 2, white);
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

TeleportMan::TeleportMan(World* w, const std::vector<Teleport*>& t, bool o) : teleports(t), on(o), world(w) {}

TeleportMan::~TeleportMan() {
    for (Teleport* t : teleports) delete t;
}

// In list order, so a jump onto the source of a later teleport jumps again
// in the same call.
void TeleportMan::Apply(int& px, int& py) {
    for (Teleport* t : teleports) t->Apply(px, py);
}

void TeleportMan::Draw(Bmp* dest) {
    for (Teleport* t : teleports) t->Draw(dest);
}
