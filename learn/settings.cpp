// Stand-in until the settings file lands: the defaults, nothing read or
// written.
#include "../all/display.h"
#include "lens.h"
#include "pointer.h"
#include "world.h"

void World::LoadSettings() {
    cfile = "gfx/qop.pcx";
    lens = new Lens(16, 0, 0, display::screen->w, display::screen->h);
    for (int n = 0; n < 10; n++) pointers[n]->Setup(this, 0, 0, 0, 0, 0, 0, 0, 8, 8, 0, 0, 0);
    spointer = 0;
    pointer = pointers[0];
    SelectLayer(pointer->layer);
    pause = 0;
}

void World::SaveSettings() {}
