#include "draw_text.h"

#include <cstdint>

#include "../all/display.h"
#include "surface_size.h"

void DrawText(BITMAP* dest, const std::string& text, int x, int y, int colour, int xScale, int yScale) {
    if (text.empty()) return;
    int64_t w = 8 * static_cast<int64_t>(text.size());
    // Allegro's stretch computes the magnified size in int arithmetic: scales
    // from outside pass the same size test as any surface.
    if (!SurfaceSizeAllowed(w, 8) || !SurfaceSizeAllowed(w * xScale, 8 * int64_t{yScale})) return;
    BITMAP* line = create_bitmap(static_cast<int>(w), 8);
    if (!line) return;
    clear_to_color(line, 0);
    // Allegro's default text mode draws each cell opaque on colour 0.
    textprintf_ex(line, display::font, 0, 0, colour, 0, "%.*s", static_cast<int>(text.size()), text.c_str());
    stretch_blit(line, dest, 0, 0, line->w, 8, x, y, line->w * xScale, 8 * yScale);
    destroy_bitmap(line);
}
