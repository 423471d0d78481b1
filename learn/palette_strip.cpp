// The palette strip: drawn by Render along the right edge, the lens's view
// narrowed by its width so it never hides a picture pixel.
#include "palette_strip.h"

#include <allegro.h>

#include <algorithm>

#include "../all/display.h"
#include "lens.h"
#include "palette_colours.h"
#include "pointer.h"
#include "world.h"

PaletteStripLayout::PaletteStripLayout(int screenW, int screenH, size_t colours)
    : screenW(screenW),
      rows(std::clamp((screenH - kColumnsTop - kMargin) / kSwatchSide, 1, kMostRows)),
      colours(std::max<size_t>(colours, 1)) {}

int PaletteStripLayout::Columns() const { return static_cast<int>((colours + rows - 1) / rows); }

int PaletteStripLayout::Width() const { return std::max(kMinWidth, Columns() * kSwatchSide + 2 * kMargin); }

Area PaletteStripLayout::Swatch(size_t i) const {
    int column = static_cast<int>(i / rows), row = static_cast<int>(i % rows);
    return {screenW - kMargin - (column + 1) * kSwatchSide, kColumnsTop + row * kSwatchSide, kSwatchSide,
            kSwatchSide};
}

size_t PaletteStripLayout::Neighbour(size_t i, int dx, int dy) const {
    size_t row = i % rows;
    if (dy < 0 && row > 0) return i - 1;
    if (dy > 0 && row + 1 < size_t(rows) && i + 1 < colours) return i + 1;
    // Left is the next column; a shorter last column takes its last swatch.
    if (dx < 0 && i + rows - row < colours) return std::min(i + rows, colours - 1);
    if (dx > 0 && i >= size_t(rows)) return i - rows;
    return i;
}

namespace {

void Fill(BITMAP* b, const Area& a, int colour) {
    rectfill(b, int(a.x), int(a.y), int(a.Right() - 1), int(a.Bottom() - 1), colour);
}

// A ring `out` pixels outside the area's edge; dashed rings leave every
// other pair of pixels out.
void Ring(BITMAP* b, const Area& a, int out, int colour, bool dashed) {
    int l = int(a.x) - out, t = int(a.y) - out, r = int(a.Right() - 1) + out, bt = int(a.Bottom() - 1) + out;
    auto dot = [&](int x, int y, int along) {
        if (!dashed || (along / 2) % 2 == 0) putpixel(b, x, y, colour);
    };
    for (int x = l; x <= r; x++) dot(x, t, x - l), dot(x, bt, x - l);
    for (int y = t; y <= bt; y++) dot(l, y, y - t), dot(r, y, y - t);
}

// White outside black, so the frame shows on every swatch colour.
void Frame(BITMAP* b, const Area& a, bool dashed) {
    Ring(b, a, 1, makecol(255, 255, 255), dashed);
    Ring(b, a, 0, makecol(0, 0, 0), dashed);
}

// Palette mode's selection: a small white square edged black at the centre.
void Selection(BITMAP* b, const Area& a) {
    Area mark{a.x + a.w / 2 - 3, a.y + a.h / 2 - 3, 6, 6};
    Fill(b, mark, makecol(0, 0, 0));
    Fill(b, {mark.x + 1, mark.y + 1, 4, 4}, makecol(255, 255, 255));
}

}  // namespace

void World::TogglePaletteStrip() { paletteShown = !paletteShown; }

int World::PaletteStripWidth() {
    if (!paletteShown) return 0;
    return PaletteStripLayout(display::screen->w, display::screen->h, palette.Size()).Width();
}

void World::DrawPaletteStrip(BITMAP* dest) {
    if (!paletteShown) return;
    PaletteStripLayout strip(dest->w, dest->h, palette.Size());
    Fill(dest, {strip.Left(), 0, strip.Width(), dest->h}, makecol(48, 48, 48));
    Fill(dest, strip.Pen(), pointer->colour);
    Fill(dest, strip.Second(), pointer->second);
    Frame(dest, strip.Pen(), false);
    Frame(dest, strip.Second(), true);
    for (size_t i = 0; i < palette.Size(); i++) Fill(dest, strip.Swatch(i), ColourValue(palette[i]));
    // Only the first entry of a colour is framed, as only it is stepped from.
    if (auto pen = palette.Find(RgbValue(pointer->colour))) Frame(dest, strip.Swatch(*pen), false);
    if (auto second = palette.Find(RgbValue(pointer->second))) Frame(dest, strip.Swatch(*second), true);
    if (paletteModeOn && paletteSelection < palette.Size()) Selection(dest, strip.Swatch(paletteSelection));
}
