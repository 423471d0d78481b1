// The editor's commands on the list of layers: selection, the layer command
// mode (key L) and canvas resizing.
#include <cstdio>
#include <functional>
#include <memory>

#include "../bmp/bmp.h"
#include "../bmp/surface_size.h"
#include "history.h"
#include "paint_gate.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "pointer.h"
#include "world.h"

void World::SelectLayer(int n) {
    unsigned top = static_cast<unsigned>(layers.size() - 1);
    if (static_cast<unsigned>(n) > top) n = static_cast<int>(top);
    slayer = n;
    layer = layers[n];
    if (pointer) pointer->layer = n;
}

namespace {
std::string Format(const char* format, int value) {
    char line[64];
    std::snprintf(line, sizeof line, format, value);
    return line;
}
}  // namespace

namespace {

// The list of layers changes as one step; every pointer keeps its layer,
// and `select` becomes current. `after` runs inside the same step.
template <class Change>
void ChangeLayerList(World& w, int select, Change change, const std::function<void()>& after = nullptr) {
    std::vector<Layer*> before = w.layers;
    w.history->LayersChanging(select);
    change(w.layers);
    FollowLayers(w.pointers, before, w.layers);
    w.SelectLayer(select);
    if (after) after();
    w.history->Close();
}

// Up (+1) or down (-1) one place; layer 0 stays at the bottom.
std::string MoveLayer(World& w, int by) {
    int from = w.slayer, to = from + by;
    if (from == 0 || to == 0) return "Not moved: layer 0 stays at the bottom";
    if (to >= static_cast<int>(w.layers.size()))
        return "Not moved: layer " + std::to_string(from) + " is the top layer";
    ChangeLayerList(w, to, [from, to](std::vector<Layer*>& l) { std::swap(l[from], l[to]); });
    return "Layer " + std::to_string(from) + " moved to " + std::to_string(to);
}

// Into the layer below, its see-through pixels skipped, then removed; its
// pointers go to the layer below.
std::string MergeLayerDown(World& w) {
    if (w.slayer == 0) return "Not merged: layer 0 has no layer below";
    int from = w.slayer, below = from - 1;
    // The history keeps the removed layer, so it is read after it left.
    const Layer* top = w.layers[from];
    for (Pointer* p : w.pointers)
        if (p->layer == from) p->layer = below;
    ChangeLayerList(w, below, [from](std::vector<Layer*>& l) { l.erase(l.begin() + from); }, [&w, top, below] {
        w.gate->PutImage(*w.layers[below], top->Source(), 0, 0, top->width, top->height,
                         top->mode == 0 ? Stamping::Opaque : Stamping::Masked);
    });
    return "Layer " + std::to_string(from) + " merged into " + std::to_string(below);
}

std::string DuplicateLayer(World& w) {
    const Layer& l = *w.layer;
    std::unique_ptr<Bmp> copy = Bmp::TryCreate(l.width, l.height, "_layer");
    if (!copy) return "Not duplicated: no memory for a copy of the layer";
    blit(l.Source(), copy->GetBitmap(), 0, 0, 0, 0, l.width, l.height);
    auto* twin = new Layer(&w, copy.release(), l.mode);
    twin->hidden = l.hidden;
    int at = w.slayer + 1;
    ChangeLayerList(w, at, [at, twin](std::vector<Layer*>& list) { list.insert(list.begin() + at, twin); });
    return "Layer " + std::to_string(at - 1) + " duplicated as " + std::to_string(at);
}

std::string ToggleHidden(World& w) {
    w.layer->hidden = !w.layer->hidden;
    return w.LayerState();
}

struct LayerKey {
    int key;
    std::string (*run)(World& w);
};

const LayerKey kLayerKeys[] = {
    {KEY_H, ToggleHidden},
    {KEY_UP, [](World& w) { return MoveLayer(w, 1); }},
    {KEY_DOWN, [](World& w) { return MoveLayer(w, -1); }},
    {KEY_M, MergeLayerDown},
    {KEY_C, DuplicateLayer},
};

// The current layer leaves the list; the top layer takes its place (the
// order deletion has always kept). Pointers follow their layers; those on
// the deleted one keep their number.
std::string DeleteLayer(World& w) {
    int gone = w.slayer, top = static_cast<int>(w.layers.size()) - 1;
    ChangeLayerList(w, gone == top ? top - 1 : gone, [gone](std::vector<Layer*>& l) {
        l[gone] = l.back();
        l.pop_back();
    });
    return Format("Deleted Layer %d", gone);
}

}  // namespace

std::string World::LayerState() {
    return "layer " + std::to_string(slayer) + " of " + std::to_string(layers.size()) +
           (layer->mode == 0 ? ", opaque" : ", see-through") + (layer->hidden ? ", hidden" : "");
}

void World::LayerCommands() {
    // The mode's own lines as they have always been; the keys added since
    // (H, Up, Down, M, C) are in the key reference and answer with the
    // state of the current layer.
    std::vector<std::string> lines = {"- Layer Stuff -",          " ", "A - Add new layer",
                                      "D - Delete current layer", "0, 1-9 - Select layer", " ",
                                      "Current " + LayerState()};
    text->SetLines(lines);
    do {
        for (const LayerKey& k : kLayerKeys) {
            if (!keyMan->Check(KEY_L, k.key, "")) continue;
            // On the console too, as message lines are.
            for (const std::string& line : {k.run(*this), LayerState()}) {
                if (lines.back() == line) continue;
                lines.push_back(line);
                std::printf("%s\n", line.c_str());
            }
            text->SetLines(lines);
            Render();
            WaitKeyRelease(k.key);
        }
        if (keyMan->Check(KEY_L, KEY_A, "")) {
            history->LayersChanging(static_cast<int>(layers.size()));
            layers.push_back(new Layer(this, layer->width, layer->height, 1));
            history->Close();
            slayer = static_cast<int>(layers.size()) - 1;
            layer = layers[slayer];
            lines.push_back(Format("Layer %d Added", slayer));
            lines.push_back(Format("Layer %d selected", slayer));
            text->SetLines(lines);
            Render();
            WaitKeyRelease(KEY_A);
        }
        // Read straight from the keyboard: a deletion is never recorded.
        if (KeyHeld(KEY_D) && layers.size() >= 2 && slayer > 0) {
            // The history keeps the deleted layer.
            lines.push_back(DeleteLayer(*this));
            lines.push_back(Format("Layer %d selected", slayer));
            text->SetLines(lines);
            Render();
            WaitKeyRelease(KEY_D);
        }
        for (int i = 0; i < 10; i++) {
            if (keyMan->Check(KEY_L, KEY_0_PAD + i, "") && static_cast<int>(layers.size()) > i) {
                SelectLayer(i);
                lines.push_back(Format("Layer %d selected", slayer));
                text->SetLines(lines);
                Render();
                WaitKeyRelease(KEY_0_PAD + i);
            }
        }
        Render();
    } while (NextModeFrame(0) && KeyHeld(KEY_L));
    text->ClearLines();
    clear_keybuf();
}

bool World::resizeCanvas(int w, int h) {
    if (w == layer->width && h == layer->height) return true;
    // Every new surface is allocated before any is swapped in, so the layers
    // never end up with mixed sizes.
    std::vector<std::unique_ptr<Bmp>> fresh;
    if (!SurfacesSizeAllowed(static_cast<int64_t>(layers.size()) + 1, w, h)) {
        std::printf("resizeCanvas: %d layers of %dx%d do not fit in memory, nothing changed\n",
                    static_cast<int>(layers.size()), w, h);
        return false;
    }
    for (Layer* l : layers) {
        auto b = Bmp::TryCreate(w, h, "_layer");
        if (!b) {
            std::printf("resizeCanvas: no memory for %d layers of %dx%d, nothing changed\n",
                        static_cast<int>(layers.size()), w, h);
            return false;
        }
        clear_to_color(b->GetBitmap(), l->ClearColour());
        blit(l->Source(), b->GetBitmap(), 0, 0, 0, 0, l->width, l->height);
        fresh.push_back(std::move(b));
    }
    auto newStm = Bmp::TryCreate(w, h, "_stm");
    if (!newStm) {
        std::printf("resizeCanvas: no memory for a %dx%d picture, nothing changed\n", w, h);
        return false;
    }
    // The layers of the old size stay with the history.
    history->LayersChanging(slayer);
    for (size_t i = 0; i < layers.size(); i++) {
        bool hidden = layers[i]->hidden;
        layers[i] = new Layer(this, fresh[i].release(), layers[i]->mode);
        layers[i]->hidden = hidden;
    }
    layer = layers[slayer];
    delete stm;
    stm = newStm.release();
    return true;
}
