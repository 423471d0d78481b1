// The seven setting dialogs: each shows its values in the multi-field form
// and stores the answers back. The form returns the offered values on Esc,
// so the dialogs apply answers alike whether accepted or not, except the
// text dialog, where re-rendering would throw away a brush grabbed from the
// picture.
#include <cstdint>
#include <string>

#include "../bmp/surface_size.h"
#include "../txt/txt.h"
#include "frames.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "pointer.h"
#include "prompt.h"
#include "teleport.h"
#include "world.h"

namespace {

std::string Num(int n) { return std::to_string(n); }

bool Replaying(World& w) { return w.keyMan->mode == KeyMan::Replaying; }

}  // namespace

void World::teleportDialog() {
    PromptAnswers a = Prompt("Teleportion", {"Teleport On(0/1):"}, {teleportMan->on ? "1" : "0"});
    if (a.texts.size() == 1) teleportMan->on = NumberFrom(a.texts[0]) != 0;
}

void World::pauseDialog() {
    PromptAnswers a = Prompt("Time Gap", {"Pause:"}, {Num(pause)});
    if (!a.texts.empty()) pause = NumberFrom(a.texts[0]);
}

void World::filesDialog() {
    PromptAnswers a = Prompt("Files for Animation", {"Files Pos:", "Files root:"}, {Num(files->filesPos), files->root});
    if (a.texts.size() != 2) return;
    files->filesPos = NumberFrom(a.texts[0]);
    files->root = a.texts[1];
}

// The stamp's image is (8 * length + 2) x 10 pixels magnified w x h times;
// a size the surface helper refuses changes nothing.
void World::textDialog() {
    if (Replaying(*this)) return;
    PromptAnswers a = Prompt("Text Setup", {"Text times Width:", "Text times Height:", "Text:"},
                             {Num(textDraw->w), Num(textDraw->h), textDraw->text});
    if (!a.accepted || a.texts.size() != 3) return;
    int w = NumberFrom(a.texts[0]), h = NumberFrom(a.texts[1]);
    const std::string& s = a.texts[2];
    if (w <= 0 || h <= 0) {
        Message("Text stamp: width and height must be above 0");
        return;
    }
    if (!SurfaceSizeAllowed((8 * static_cast<int64_t>(s.size()) + 2) * w, int64_t{10} * h)) {
        Message("Text stamp: " + Num(w) + "x" + Num(h) + " times is too large");
        return;
    }
    textDraw->w = w;
    textDraw->h = h;
    textDraw->text = s;
    txt->setColour(pointer->colour);
    txt->setScale(w, h);
    txt->setText(s);
    pointer->GrabWhole(txt->getBmp());
}

void World::resizeDialog() {
    if (Replaying(*this)) return;
    PromptAnswers a = Prompt("Resize Canvas", {"canvas width:", "canvas height:"}, {Num(layer->width), Num(layer->height)});
    if (a.texts.size() != 2) return;
    int w = NumberFrom(a.texts[0]), h = NumberFrom(a.texts[1]);
    std::string size = Num(w) + "x" + Num(h);
    if (w <= 0 || h <= 0 || !SurfaceSizeAllowed(w, h)) {
        Message("Canvas size " + size + " refused, nothing changed");
        return;
    }
    if (!resizeCanvas(w, h)) Message("No memory for a canvas of " + size + ", nothing changed");
}

void World::jumpDialog() {
    PromptAnswers a = Prompt("Jump Edit", {"jx:", "jy:"}, {Num(pointer->jx), Num(pointer->jy)});
    if (a.texts.size() != 2) return;
    pointer->jx = NumberFrom(a.texts[0]);
    pointer->jy = NumberFrom(a.texts[1]);
}

// The parts are passed to makecol as typed, without clamping.
void World::colourDialog() {
    if (Replaying(*this)) return;
    int c = pointer->colour;
    PromptAnswers a = Prompt("Choose Colour", {"Red   0-255:", "Green 0-255:", "Blue  0-255:"},
                             {Num(getr(c)), Num(getg(c)), Num(getb(c))});
    if (a.texts.size() != 3) return;
    pointer->colour = makecol(NumberFrom(a.texts[0]), NumberFrom(a.texts[1]), NumberFrom(a.texts[2]));
}
