// The key pass and the key map: one table per modifier group, a row per key.
#include <algorithm>

#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "frames.h"
#include "key_recorder.h"
#include "layer.h"
#include "lens.h"
#include "overlay.h"
#include "pointer.h"
#include "teleport.h"
#include "world.h"

namespace {

struct Command {
    int key;
    void (*run)(World& w);
};

struct Group {
    int code;
    bool ctrl, shift, alt;  // the live condition
    const Command* commands;
    size_t count;
};

void GrabBox(World& w) {
    if (w.pointer->mode != 1) return;
    w.pointer->Grab(w.layer->bmp);
    w.pointer->mode = 0;
}

void PickColourOrToggleBox(World& w) {
    Pointer* p = w.pointer;
    if (p->mode == 1)
        p->moveBox = !p->moveBox;
    else
        p->colour = getpixel(w.layer->bmp->GetBitmap(), p->x, p->y);
}

// TAB grows the step of a held arrow direction; the arrows are read from
// the keyboard directly here.
void GrowSteps(World& w) {
    w.stepX = (w.KeyHeld(KEY_LEFT) || w.KeyHeld(KEY_RIGHT)) ? w.stepX + 1 : 1;
    w.stepY = (w.KeyHeld(KEY_UP) || w.KeyHeld(KEY_DOWN)) ? w.stepY + 1 : 1;
}

void ErasePixel(World& w) {
    putpixel(w.layer->bmp->GetBitmap(), w.pointer->x, w.pointer->y, w.ClearColour());
}

// A negative pause waits 0 ms; a long one still ends on a stop request.
void PauseFrame(World& w) {
    RestUnlessStopped(std::max(w.pause, 0));
    w.Render();
}

const Command kPlain[] = {
    {KEY_QUOTE, [](World& w) { w.EditTeleports(); }},
    {KEY_C, [](World& w) { w.ColourFill(); }},
    {KEY_ENTER, GrabBox},
    {KEY_E, [](World& w) { w.pointer->Stamp(2, w.layer->bmp); }},
    {KEY_G, [](World& w) { w.pointer->StartBox(); }},
    {KEY_P, [](World& w) { w.PickPointer(); }},
    {KEY_ESC, [](World& w) { w.Cancel(); }},
    {KEY_D, [](World& w) { w.LineTo(); }},
    {KEY_B, PickColourOrToggleBox},
    {KEY_TAB, GrowSteps},
    {KEY_LEFT, [](World& w) { w.pointer->Move(-w.stepX, 0); }},
    {KEY_RIGHT, [](World& w) { w.pointer->Move(w.stepX, 0); }},
    {KEY_UP, [](World& w) { w.pointer->Move(0, -w.stepY); }},
    {KEY_DOWN, [](World& w) { w.pointer->Move(0, w.stepY); }},
    {KEY_EQUALS, [](World& w) { w.lens->Zoom(1); }},
    {KEY_MINUS, [](World& w) { w.lens->Zoom(-1); }},
    {KEY_SPACE, [](World& w) { w.Commit(); }},
    {KEY_W, ErasePixel},
    {KEY_Z, [](World& w) { w.PanLens(); }},
    {KEY_L, [](World& w) { w.LayerCommands(); }},
};

const Command kShift[] = {
    {KEY_D, [](World& w) { w.pointer->ClearBox(w.layer->bmp); }},
    {KEY_E, [](World& w) { w.pointer->Stamp(1, w.layer->bmp); }},
    {KEY_G, [](World& w) { w.pointer->ResumeBox(); }},
    {KEY_L, [](World& w) { w.EnlargeStamp(); }},
};

const Command kCtrl[] = {
    {KEY_I, PauseFrame},
    {KEY_LEFT, [](World& w) { w.pointer->Move(-w.pointer->jx, 0); }},
    {KEY_RIGHT, [](World& w) { w.pointer->Move(w.pointer->jx, 0); }},
    {KEY_UP, [](World& w) { w.pointer->Move(0, -w.pointer->jy); }},
    {KEY_DOWN, [](World& w) { w.pointer->Move(0, w.pointer->jy); }},
    {KEY_Z, [](World& w) { w.Undo(1); }},
    {KEY_COMMA, [](World& w) { w.files->Step(-1), w.files->Announce(w.text); }},
    {KEY_STOP, [](World& w) { w.files->Step(1), w.files->Announce(w.text); }},
};

const Command kAlt[] = {
    {KEY_QUOTE, [](World& w) { w.teleportDialog(); }},
    {KEY_F, [](World& w) { w.filesDialog(); }},
    {KEY_I, [](World& w) { w.pauseDialog(); }},
    {KEY_T, [](World& w) { w.textDialog(); }},
    {KEY_V, [](World& w) { w.resizeDialog(); }},
    {KEY_X, [](World& w) { w.jumpDialog(); }},
    {KEY_C, [](World& w) { w.colourDialog(); }},
    {KEY_E, [](World& w) { w.pointer->Stamp(0, w.layer->bmp); }},
    {KEY_S, [](World& w) { w.SaveImageFile(); }},
    {KEY_L, [](World& w) { w.LoadImageFile(); }},
    {KEY_R, [](World& w) { w.ToggleRecording(), w.WaitKeyRelease(KEY_R); }},
    {KEY_P, [](World& w) { w.TogglePlayback(), w.WaitKeyRelease(KEY_P); }},
};

const Command kCtrlShift[] = {
    {KEY_L, [](World& w) { w.LoadFrame(w.files->Name()); }},
    {KEY_S, [](World& w) { w.SaveFrame(w.files->Name()); }},
};

const Command kShiftAlt[] = {
    {KEY_L, [](World& w) { w.SelectLoadImageFile(); }},
    {KEY_S, [](World& w) { w.SaveSelectionFile(); }},
    {KEY_P, [](World& w) { w.PlayTimes(); }},
};

template <size_t N>
constexpr Group MakeGroup(int code, bool ctrl, bool shift, bool alt, const Command (&rows)[N]) {
    return Group{code, ctrl, shift, alt, rows, N};
}

// In the order the key pass visits them.
const Group kGroups[] = {
    MakeGroup(-1, false, false, false, kPlain),   MakeGroup(-9, false, true, false, kShift),
    MakeGroup(-10, true, false, false, kCtrl),    MakeGroup(-8, false, false, true, kAlt),
    MakeGroup(-7, true, true, false, kCtrlShift), MakeGroup(-5, false, true, true, kShiftAlt),
};

// Key codes 0 to 114: everything below Allegro's modifier keys.
constexpr int kLastKeyTested = 114;

const Command* Find(const Group& g, int key) {
    for (size_t i = 0; i < g.count; i++)
        if (g.commands[i].key == key) return &g.commands[i];
    return nullptr;
}

bool GroupRuns(World& w, const Group& g) {
    if (w.keyMan->mode == KeyMan::Replaying) return w.keyMan->CurrentGroup() == g.code;
    // Only the left-hand modifiers select a group; a key latched for this
    // pass brings the modifiers that were down at its press.
    auto down = [&w](int k) { return w.KeyHeld(k) || LatchedForPass(k); };
    return down(KEY_LCONTROL) == g.ctrl && down(KEY_LSHIFT) == g.shift && down(KEY_ALT) == g.alt;
}

void KeepPointerOnLayer(World& w) {
    Pointer* p = w.pointer;
    p->x = std::clamp(p->x, 0, w.layer->width - 1);
    p->y = std::clamp(p->y, 0, w.layer->height - 1);
}

}  // namespace

void World::DoKeys() {
    bool replaying = keyMan->mode == KeyMan::Replaying;
    if (!replaying && !KeyHeld(KEY_TAB)) ReadKey();
    if (StopRequested()) return;
    long advancesBefore = keyMan->advances;

    for (const Group& g : kGroups) {
        if (!GroupRuns(*this, g)) continue;
        for (int k = 0; k <= kLastKeyTested; k++) {
            // Every key is asked about, so a recording holds every key that
            // was down, also those without a command.
            if (!keyMan->Check(g.code, k, "")) continue;
            if (const Command* c = Find(g, k)) c->run(*this);
            // A mode or form left on a stop request ends the pass too.
            if (StopRequested()) return ClearPassLatch();
        }
    }
    ClearPassLatch();

    // A replay whose current event no group can take would never advance:
    // end it rather than leave the editor stuck in replay mode.
    if (replaying && keyMan->mode == KeyMan::Replaying && keyMan->advances == advancesBefore) {
        keyMan->repeats = 0;
        keyMan->StopReplay();
    }

    KeepPointerOnLayer(*this);
    if (teleportMan && teleportMan->on) {
        teleportMan->Apply(pointer->x, pointer->y);
        teleportMan->Apply(pointer->bx, pointer->by);
    }
}
