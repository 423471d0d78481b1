#pragma once
#include <allegro.h>

#include <cstdint>
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

// The same composition for saving, into a 32-bit memory bitmap whose top
// byte then holds each pixel's alpha: 0 (and black) where the picture has
// no visible opaque layer pixel, every visible layer being see-through with
// the mask colour there; 255 everywhere else, outside the picture included.
// Answers how many pixels are transparent; at other depths it composes as
// ComposeLayers and answers 0.
int64_t ComposeWithAlpha(const std::vector<Layer*>& layers, const Area& from, BITMAP* dest);

// The colour the composition shows at (x, y) of the picture: black outside it.
int ComposedColour(const std::vector<Layer*>& layers, int x, int y);
