#pragma once
#include <string>

// The answers last given to the export forms, kept in "vell.cfg". A
// negative number or an empty name means "offer the default", which depends
// on the frame files and the settings of the day.
const int kMinExportScale = 1, kMaxExportScale = 32;

struct ExportSettings {
    int first = 0;
    int last = -1;
    int delay = -1;
    int loops = 0;
    int columns = -1;
    int padding = 0;
    int scale = 1;  // every exported pixel becomes a block of scale x scale
    std::string gif;
    std::string sheet;
};
