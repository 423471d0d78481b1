#pragma once
#include <allegro.h>

#include <string>

// Draws text with the 8x8 default font at (x, y) on dest, in colour on
// colour 0, each character cell magnified to 8*xScale x 8*yScale pixels.
// An empty text, or a magnified size that may not be allocated, draws nothing.
void DrawText(BITMAP* dest, const std::string& text, int x, int y, int colour, int xScale, int yScale);
