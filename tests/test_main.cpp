// Starts Allegro for real without a display: memory bitmaps stand in for the
// screen, key[] is written directly, readkey answers at once.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "all/display.h"
#include "all/timer.h"
#include "test_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "install_allegro failed\n");
        return 1;
    }
    set_color_depth(32);
    display::screen = create_bitmap(1024, 768);
    clear_to_color(display::screen, 0);
    display::font = font;
    display::maskColour = makecol(255, 0, 255);
    display::timer = new Timer();
    ReleaseAllKeys();
    return RUN_ALL_TESTS();
}
