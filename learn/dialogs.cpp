// The seven setting dialogs: each shows its values in the multi-field form
// and stores the answers back when the form is accepted with every number in
// its range; Esc leaves everything as it was.
#include <cstdint>
#include <string>

#include "../bmp/load_pic.h"
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

// The largest side a canvas may have; a canvas near it also asks first.
constexpr int kMaxCanvasSide = 16384;

int64_t WholeMiB(int64_t bytes) { return (bytes + (1 << 20) - 1) >> 20; }

const FieldRanges kColourRanges = {{0, "red", 0, 255}, {1, "green", 0, 255}, {2, "blue", 0, 255}};
const FieldRanges kCanvasRanges = {{0, "canvas width", 1, kMaxCanvasSide}, {1, "canvas height", 1, kMaxCanvasSide}};

// Memory the layers take at w x h: a canvas larger than a big picture asks
// first, as loading such a picture does.
int64_t LayersBytes(const World& w, int width, int height) {
    return int64_t{width} * height * CurrentBytesPerPixel() * static_cast<int64_t>(w.layers.size());
}

}  // namespace

void World::teleportDialog() {
    const FieldRanges ranges = {{0, "teleport on", 0, 1}};
    PromptAnswers a = Prompt("Teleportion", {"Teleport On(0/1):"}, {teleportMan->on ? "1" : "0"}, ranges);
    if (AcceptedInRange(a, 1, ranges)) teleportMan->on = NumberFrom(a.texts[0]) != 0;
}

void World::pauseDialog() {
    const FieldRanges ranges = {{0, "pause", 0, 60000}};
    PromptAnswers a = Prompt("Time Gap", {"Pause:"}, {Num(pause)}, ranges);
    if (AcceptedInRange(a, 1, ranges)) pause = NumberFrom(a.texts[0]);
}

void World::filesDialog() {
    const FieldRanges ranges = {{0, "frame number", 0, 999}};
    PromptAnswers a =
        Prompt("Files for Animation", {"Files Pos:", "Files root:"}, {Num(files->filesPos), files->root}, ranges);
    if (!AcceptedInRange(a, 2, ranges)) return;
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
    PromptAnswers a = Prompt("Resize Canvas", {"canvas width:", "canvas height:"},
                             {Num(layer->width), Num(layer->height)}, kCanvasRanges);
    if (!AcceptedInRange(a, 2, kCanvasRanges)) return;
    int w = NumberFrom(a.texts[0]), h = NumberFrom(a.texts[1]);
    std::string size = Num(w) + "x" + Num(h);
    int64_t bytes = LayersBytes(*this, w, h);
    if (bytes > kBigPictureBytes &&
        !AskYesNo("Resize to " + Num(w) + " x " + Num(h) + " (" + std::to_string(WholeMiB(bytes)) + " MiB)? Y/N")) {
        Message("Canvas not resized");
        return;
    }
    if (!SurfaceSizeAllowed(w, h)) {
        Message("Canvas size " + size + " refused, nothing changed");
        return;
    }
    if (!resizeCanvas(w, h)) Message("No memory for a canvas of " + size + ", nothing changed");
}

void World::jumpDialog() {
    const FieldRanges ranges = {{0, "jx", 1, layer->width}, {1, "jy", 1, layer->height}};
    PromptAnswers a = Prompt("Jump Edit", {"jx:", "jy:"}, {Num(pointer->jx), Num(pointer->jy)}, ranges);
    if (!AcceptedInRange(a, 2, ranges)) return;
    pointer->jx = NumberFrom(a.texts[0]);
    pointer->jy = NumberFrom(a.texts[1]);
}

void World::colourDialog() {
    if (Replaying(*this)) return;
    int c = pointer->colour;
    PromptAnswers a = Prompt("Choose Colour", {"Red   0-255:", "Green 0-255:", "Blue  0-255:"},
                             {Num(getr(c)), Num(getg(c)), Num(getb(c))}, kColourRanges);
    if (!AcceptedInRange(a, 3, kColourRanges)) return;
    pointer->colour = makecol(NumberFrom(a.texts[0]), NumberFrom(a.texts[1]), NumberFrom(a.texts[2]));
}
