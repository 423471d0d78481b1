#include "sdl_picture.h"

#include <cstring>
#include <vector>

#include "bmp.h"

Uint32 GetSdlPixel(SDL_Surface* surface, int x, int y) {
    int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
        case 1:
            return *p;
        case 2: {
            Uint16 v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3:
            return p[0] | p[1] << 8 | p[2] << 16;
        case 4: {
            Uint32 v;
            std::memcpy(&v, p, 4);
            return v;
        }
        default:
            return 0;
    }
}

namespace {

// Writes one row of colours of the bitmap's depth.
void WriteRow(BITMAP* dest, int y, const std::vector<int>& colours) {
    if (bitmap_color_depth(dest) == 32) {
        std::memcpy(dest->line[y], colours.data(), colours.size() * sizeof(int));
        return;
    }
    for (size_t x = 0; x < colours.size(); x++) putpixel(dest, static_cast<int>(x), y, colours[x]);
}

// A surface with eight bits per colour part and 3 or 4 bytes per pixel: the
// parts are shifted straight out of the raw value, with no call per pixel.
bool IsTrueColour(const SDL_PixelFormat* f) {
    return !f->palette && (f->BytesPerPixel == 3 || f->BytesPerPixel == 4) && f->Rloss == 0 &&
           f->Gloss == 0 && f->Bloss == 0;
}

// Reads 3 or 4 bytes per pixel straight from the row, and at depth 32 makes
// the colour inline: this path carries the big photographs.
template <int Bytes, bool Depth32>
void DecodeTrueColourRow(SDL_Surface* s, int y, std::vector<int>& row) {
    const SDL_PixelFormat* f = s->format;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < s->w; x++, p += Bytes) {
        Uint32 v;
        if (Bytes == 4)
            std::memcpy(&v, p, 4);
        else
            v = p[0] | p[1] << 8 | p[2] << 16;
        int r = (v >> f->Rshift) & 0xff, g = (v >> f->Gshift) & 0xff, b = (v >> f->Bshift) & 0xff;
        row[x] = Depth32 ? makecol32(r, g, b) : makecol(r, g, b);
    }
}

using RowDecoder = void (*)(SDL_Surface*, int, std::vector<int>&);

RowDecoder TrueColourDecoder(int bytes, bool depth32) {
    if (bytes == 4) return depth32 ? DecodeTrueColourRow<4, true> : DecodeTrueColourRow<4, false>;
    return depth32 ? DecodeTrueColourRow<3, true> : DecodeTrueColourRow<3, false>;
}

// Palette and greyscale pictures: one colour per palette index, made once.
std::vector<int> PaletteColours(const SDL_PixelFormat* f) {
    std::vector<int> colours(256);
    for (int i = 0; i < 256; i++) {
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<Uint32>(i), const_cast<SDL_PixelFormat*>(f), &r, &g, &b);
        colours[i] = makecol(r, g, b);
    }
    return colours;
}

void DecodeIndexedRow(SDL_Surface* s, int y, const std::vector<int>& palette, std::vector<int>& row) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < s->w; x++) row[x] = palette[p[x]];
}

void DecodeAnyRow(SDL_Surface* s, int y, std::vector<int>& row) {
    for (int x = 0; x < s->w; x++) {
        Uint8 r, g, b;
        SDL_GetRGB(GetSdlPixel(s, x, y), s->format, &r, &g, &b);
        row[x] = makecol(r, g, b);
    }
}

}  // namespace

BITMAP* BitmapFromSurface(SDL_Surface* s) {
    BITMAP* dest = Bmp::CreateChecked(s->w, s->h);
    if (!dest) return nullptr;
    std::vector<int> row(s->w);
    const SDL_PixelFormat* f = s->format;
    bool indexed = f->BytesPerPixel == 1 && f->palette;
    std::vector<int> palette = indexed ? PaletteColours(f) : std::vector<int>();
    RowDecoder trueColour = IsTrueColour(f) ? TrueColourDecoder(f->BytesPerPixel, bitmap_color_depth(dest) == 32) : nullptr;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        if (trueColour)
            trueColour(s, y, row);
        else if (indexed)
            DecodeIndexedRow(s, y, palette, row);
        else
            DecodeAnyRow(s, y, row);
        WriteRow(dest, y, row);
    }
    SDL_UnlockSurface(s);
    return dest;
}
