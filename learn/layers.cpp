// The editor's commands on the list of layers: selection, the layer command
// mode (key L) and canvas resizing.
#include <cstdio>
#include <memory>

#include "../bmp/bmp.h"
#include "../bmp/surface_size.h"
#include "history.h"
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

void World::LayerCommands() {
    std::vector<std::string> lines = {"- Layer Stuff -",          " ", "A - Add new layer",
                                      "D - Delete current layer", "0, 1-9 - Select layer", " ",
                                      Format("Current layer %d", slayer)};
    text->SetLines(lines);
    do {
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
            history->LayersChanging(slayer);
            if (slayer != static_cast<int>(layers.size()) - 1) layers[slayer] = layers.back();
            layers.pop_back();
            history->Close();
            lines.push_back(Format("Deleted Layer %d", slayer));
            if (slayer == static_cast<int>(layers.size())) slayer--;
            layer = layers[slayer];
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
    for (size_t i = 0; i < layers.size(); i++) layers[i] = new Layer(this, fresh[i].release(), layers[i]->mode);
    layer = layers[slayer];
    delete stm;
    stm = newStm.release();
    return true;
}
