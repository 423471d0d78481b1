#pragma once
#include <allegro.h>

#include <vector>

#include "../bmp/area.h"

class Layer;

// The one composition of the picture: the visible layers, bottom first, of
// the picture's area `from`, drawn onto dest with its top left at (x, y).
// Opaque layers cover what is below; the mask colour of see-through layers
// lets it show. Black where no visible layer covers a pixel, and outside the
// picture. The view, picture and box saves, and the status line all use it,
// so a hidden layer is left out of everything by construction.
void ComposeLayers(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest, int x, int y);

// The colour the composition shows at (x, y) of the picture: black outside it.
int ComposedColour(const std::vector<Layer*>& layers, int x, int y);
