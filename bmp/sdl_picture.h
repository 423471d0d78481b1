#pragma once
#include <SDL/SDL.h>
#include <allegro.h>

// The raw value of the pixel at (x, y) of a locked SDL surface, assembled
// from the surface's 1 to 4 bytes per pixel (0 for any other size).
Uint32 GetSdlPixel(SDL_Surface* surface, int x, int y);

// A new Allegro bitmap of the current colour depth holding the surface's
// picture. Every pixel is decoded through the surface's own format, so
// palette, greyscale and true-colour pictures all keep their colours; alpha
// is dropped. JPEG pictures, which hold none, come this way; PNG pictures
// go through png_reader. Null when the size is refused or memory is short.
BITMAP* BitmapFromSurface(SDL_Surface* surface);
