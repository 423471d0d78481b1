#pragma once
#include <string>
#include <vector>

#include "read_number.h"

// The display settings chosen on the command line.
struct DisplaySettings {
    int depth = 32;
    int gfxMode = 0;  // 0 autodetect, 1 full screen, 2 windowed, else passed on
    int SCX = 1024;
    int SCY = 768;
};

extern DisplaySettings displaySettings;

// Reads the switches "-wxh: W H", "-mode: M" and "-depth: D" (each taken
// once) into settings, printing a line for every unknown switch. Zero values
// are not defaulted here.
void ParseSwitches(const std::vector<std::string>& args, DisplaySettings& settings);

// Applies the defaults for zero values and refuses screen sizes that cannot
// be allocated (with one console line).
void ApplyDisplayDefaults(DisplaySettings& settings);

// The Allegro driver name printed for a mode.
const char* GfxModeName(int mode);

// Parses, starts SDL for picture decoding, creates the shared timer and runs
// the graphics set-up. Returns InitGraphics' status.
int Init(const std::vector<std::string>& args);

// 0 on success, 1 when Allegro cannot start, -1 when the graphics mode
// cannot be set, -2 when sound cannot be installed.
int InitGraphics();

void ShutDown();

// The document name: the first argument when it names an existing entry.
std::string DocumentName(const std::vector<std::string>& args);

// The first argument when it is a picture name (not a switch) that names no
// existing entry; empty otherwise.
std::string MissingPictureName(const std::vector<std::string>& args);
