// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z: a step back or forward in the history.
#include <string>

#include "../bmp/bmp.h"
#include "history.h"
#include "layer.h"
#include "world.h"

namespace {

// After a step the layer it changed is current, and the composition
// surface follows a canvas size the step gave back.
void ShowStep(World& w, int focus) {
    w.SelectLayer(focus);
    if (w.stm->Width() != w.layer->width || w.stm->Height() != w.layer->height)
        w.stm->Resize(w.layer->width, w.layer->height, 0);
}

std::string Counted(const char* what, int more) { return std::string(what) + " (" + std::to_string(more) + " more)"; }

}  // namespace

void World::Undo() {
    int focus = history->Undo();
    if (focus < 0) return Message("Nothing to undo");
    ShowStep(*this, focus);
    Message(Counted("Undo", history->UndoCount()));
}

void World::Redo() {
    int focus = history->Redo();
    if (focus < 0) return Message("Nothing to redo");
    ShowStep(*this, focus);
    Message(Counted("Redo", history->RedoCount()));
}
