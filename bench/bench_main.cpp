// Allegro without a display, as in the unit tests, then the benchmarks.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdlib>

#include "all/display.h"
#include "all/timer.h"

int main(int argc, char** argv) {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) return 1;
    set_color_depth(32);
    display::screen = create_bitmap(1024, 768);
    display::font = font;
    display::maskColour = makecol(255, 0, 255);
    display::timer = new Timer();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
