// A square spiral corridor one pixel wide, from the top-left corner inwards,
// with walls one pixel wide between its rings: one long, winding area that
// would exhaust the stack of a recursive fill. Shared with bench/.
#pragma once
#include "bmp/pixel_grid.h"

// Paints the corridor in `corridor` over a square picture of `wall`; returns
// the number of corridor pixels.
inline size_t PaintSpiral(const PixelGrid& p, uint32_t wall, uint32_t corridor) {
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++) WritePixel(p, x, y, wall);
    int x = 0, y = 0, dx = 1, dy = 0;
    size_t cells = 1;
    WritePixel(p, x, y, corridor);
    // The first three sides run the full width; then every two turns the
    // sides shrink by the corridor and a wall.
    for (int side = 0, length = p.width - 1; length > 0; side++) {
        for (int i = 0; i < length; i++, x += dx, y += dy) {
            cells += ReadPixel(p, x + dx, y + dy) != corridor;
            WritePixel(p, x + dx, y + dy, corridor);
        }
        int turned = dx;
        dx = -dy;
        dy = turned;
        if (side >= 2 && side % 2 == 0) length -= 2;
    }
    return cells;
}
