#pragma once
#include <allegro.h>

#include <string>

// True for a BMP whose negative height says its rows are stored top row
// first. Allegro 4.4 refuses those.
bool IsTopDownBmp(const std::string& fileName);

// Reads a top-down BMP through Allegro's own BMP reader, which then loads it
// in every bit depth it loads bottom-up ones in: the reader is shown a
// positive height, and the rows it returns upside down are swapped in place.
// Null when Allegro refuses the file.
BITMAP* LoadTopDownBmp(const std::string& fileName, RGB* pal);
