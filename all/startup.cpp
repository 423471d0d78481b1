#include "startup.h"

#include <SDL.h>
#include <allegro.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "../bmp/surface_size.h"
#include "../varshim/varshim.h"
#include "display.h"
#include "endings.h"
#include "key_wait.h"
#include "timer.h"

DisplaySettings displaySettings;

namespace {

struct Taken {
    bool wxh = false, mode = false, depth = false;
};

bool IsSwitch(const std::vector<std::string>& args, size_t i) {
    return args[i].size() > 2 && args[i][0] == '-' && i + 1 < args.size();
}

}  // namespace

void ParseSwitches(const std::vector<std::string>& args, DisplaySettings& s) {
    Taken taken;
    for (size_t i = 0; i < args.size(); i++) {
        if (!IsSwitch(args, i)) continue;
        std::string word = args[i].substr(1, args[i].size() - 2);
        if (word == "wxh") {
            if (taken.wxh) continue;
            taken.wxh = true;
            if (i + 2 < args.size()) {
                s.SCX = ReadNumber(args[i + 1]);
                s.SCY = ReadNumber(args[i + 2]);
                i += 2;
            }
        } else if (word == "mode") {
            if (taken.mode) continue;
            taken.mode = true;
            int m = ReadNumber(args[i + 1]);
            s.gfxMode = m == -10 ? 1 : m == -20 ? 2 : m;
            i += 1;
        } else if (word == "depth") {
            if (taken.depth) continue;
            taken.depth = true;
            s.depth = ReadNumber(args[i + 1]);
            i += 1;
        } else {
            std::printf("Init( args ) - Switch defaulted on '%s'\n", args[i].c_str());
        }
    }
}

void ApplyDisplayDefaults(DisplaySettings& s) {
    if (s.depth == 0) s.depth = 32;
    if (s.SCX == 0 || s.SCY == 0) {
        s.SCX = 1024;
        s.SCY = 768;
    }
    // Beyond 32767 Allegro's coordinates overflow; a size the surface helper
    // refuses would abort inside Allegro.
    if (s.SCX < 1 || s.SCY < 1 || s.SCX > 32767 || s.SCY > 32767 ||
        !SurfaceSizeAllowedAt(s.SCX, s.SCY, BytesPerPixelOf(s.depth))) {
        std::printf("Screen size %dx%d is not usable, using 1024x768\n", s.SCX, s.SCY);
        s.SCX = 1024;
        s.SCY = 768;
    }
}

const char* GfxModeName(int mode) {
    switch (mode) {
        case 0: return "GFX_AUTODETECT";
        case 1: return "GFX_AUTODETECT_FULLSCREEN";
        case 2: return "GFX_AUTODETECT_WINDOWED";
        default: return "(Dunno)";
    }
}

static int DriverId(int mode) {
    switch (mode) {
        case 0: return GFX_AUTODETECT;
        case 1: return GFX_AUTODETECT_FULLSCREEN;
        case 2: return GFX_AUTODETECT_WINDOWED;
        default: return mode;
    }
}

int InitGraphics() {
    const DisplaySettings& s = displaySettings;
    std::printf("allegro_init: ");
    std::fflush(stdout);
    NoteIgnoredSignals();
    if (allegro_init() != 0) {
        std::printf("error\n");
        return 1;
    }
    std::printf("worked\n");
    std::printf(" install timer\n");
    install_timer();
    std::printf(" install keyboard\n");
    install_keyboard();
    WatchKeyPresses();
    std::printf(" install mouse\n");
    install_mouse();
    std::printf(" Set colour depth: %d\n", s.depth);
    set_color_depth(s.depth);
    std::printf(" Set gfx mode: Gfx_Mode=%s SCX=%d SCY=%d\n", GfxModeName(s.gfxMode), s.SCX, s.SCY);
    if (set_gfx_mode(DriverId(s.gfxMode), s.SCX, s.SCY, 0, 0) != 0) {
        std::printf("Gfx mode failed\n");
        return -1;
    }
    std::printf(" install sound driver\n");
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0) {
        std::printf("Sound installation failed\n");
        return -2;
    }
    display::maskColour = s.depth == 8 ? 0 : makecol(255, 0, 255);
    display::screen = get_screen();
    clear_to_color(display::screen, 0);
    display::font = get_font();
    set_window_title("Dade Vovu Zerizoviz");
    // Allegro's own handlers of these signals crash under X: ours replace them.
    InstallEndingHandlers();
    return 0;
}

int Init(const std::vector<std::string>& args) {
    ParseSwitches(args, displaySettings);
    // SDL only decodes pictures: it must never open a window of its own.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    SDL_Init(SDL_INIT_VIDEO);
    display::timer = new Timer();
    ApplyDisplayDefaults(displaySettings);
    return InitGraphics();
}

void ShutDown() {
    delete display::timer;
    display::timer = nullptr;
    SDL_Quit();
}

std::string MissingPictureName(const std::vector<std::string>& args) {
    if (args.size() < 2 || args[1].empty() || args[1][0] == '-') return "";
    return DocumentName(args).empty() ? args[1] : "";
}

std::string DocumentName(const std::vector<std::string>& args) {
    struct stat st;
    if (args.size() >= 2 && stat(args[1].c_str(), &st) == 0) return args[1];
    return "";
}
