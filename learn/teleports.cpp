// The teleport editing mode: select a teleport's source or target with the
// key rows, move it with the arrows, leave with QUOTE.
#include <allegro.h>

#include "teleport.h"
#include "world.h"

namespace {

// Teleport i's source is chosen by sourceKeys[i], its target by the key
// below it on the keyboard, targetKeys[i].
const int kSourceKeys[20] = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0,
                             KEY_A, KEY_S, KEY_D, KEY_F, KEY_G, KEY_H, KEY_J, KEY_K, KEY_L, KEY_COLON};
const int kTargetKeys[20] = {KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y, KEY_U,     KEY_I,    KEY_O, KEY_P,
                             KEY_Z, KEY_X, KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_COMMA, KEY_STOP, KEY_SLASH};

// -1, 1 or 0 from a pair of opposite arrow keys; the first one wins.
int Direction(World& w, int minus, int plus) {
    if (w.KeyHeld(minus)) return -1;
    if (w.KeyHeld(plus)) return 1;
    return 0;
}

// One pixel per frame, 50 pixels a second, while an arrow is held.
constexpr int kMoveFrameMs = 20;

}  // namespace

void World::EditTeleports() {
    WaitKeyRelease(KEY_QUOTE);
    showTeleports = true;
    int selected = 0;
    int which = 0;  // 0 the source, 1 the target
    int count = static_cast<int>(teleportMan->teleports.size());
    bool moving = false;
    do {
        for (int i = 0; i < 20 && i < count; i++) {
            if (KeyHeld(kSourceKeys[i])) selected = i, which = 0;
            if (KeyHeld(kTargetKeys[i])) selected = i, which = 1;
        }
        int dx = Direction(*this, KEY_LEFT, KEY_RIGHT);
        int dy = Direction(*this, KEY_UP, KEY_DOWN);
        if (count > 0) teleportMan->teleports[selected]->Move(which, dx, dy);
        moving = dx || dy;
        Render();
    } while (NextModeFrame(moving ? kMoveFrameMs : 0) && !KeyHeld(KEY_QUOTE));
    showTeleports = false;
    WaitKeyRelease(KEY_QUOTE);
}
